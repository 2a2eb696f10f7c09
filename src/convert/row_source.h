// RowSource: a picture whose pixel rows arrive in order, as its decoder makes them.
#pragma once

#include <span>

#include "common/result.h"
#include "convert/working_image.h"

namespace moza::convert {

/// A picture read a few rows at a time, top to bottom, so that its page can be composed while it
/// is still being decoded and without the whole picture in memory. Rows are read by one thread at
/// a time, not always the same one.
class RowSource {
public:
    virtual ~RowSource() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    /// Writes the picture's next rows.size() rows, as 00BBGGRR pixels, into rows[0], rows[1] ...,
    /// each with room for width() pixels. Fails with the source's own message (one that names the
    /// picture and the problem); the source is then spent, and failed() tells so.
    Status read(std::span<ColorValue* const> rows) {
        Status got = readRows(rows);
        if (!got) m_failed = true;
        return got;
    }

    /// Whether a read has failed: the error came from the picture, not from what read it.
    bool failed() const { return m_failed; }

protected:
    virtual Status readRows(std::span<ColorValue* const> rows) = 0;

private:
    bool m_failed = false;
};

/// The whole picture of `source`, read from its first row. Fails with the source's error, or as
/// WorkingImage::create does.
Result<WorkingImage> ReadWholeImage(RowSource& source);

}  // namespace moza::convert
