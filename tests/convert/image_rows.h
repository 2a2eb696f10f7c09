// ImageRows: a picture in memory handed over as a decoder hands it, a few rows at a time.
#pragma once

#include <algorithm>
#include <string>

#include "convert/row_source.h"

namespace moza::testing {

/// The rows of `image` (not enlarged), read in order; the read that reaches row `failAt` fails
/// with "damaged at row N" instead.
class ImageRows : public convert::RowSource {
public:
    explicit ImageRows(const convert::WorkingImage& image, int failAt = -1) : m_image(image), m_failAt(failAt) {}
    int width() const override { return m_image.width(); }
    int height() const override { return m_image.height(); }

protected:
    Status readRows(std::span<convert::ColorValue* const> rows) override {
        for (convert::ColorValue* row : rows) {
            if (m_next == m_failAt) return Error{"damaged at row " + std::to_string(m_next), ErrorKind::PictureDamaged};
            std::copy(m_image.row(m_next), m_image.row(m_next) + m_image.width(), row);
            ++m_next;
        }
        return success();
    }

private:
    const convert::WorkingImage& m_image;
    int m_failAt;
    int m_next = 0;
};

}  // namespace moza::testing
