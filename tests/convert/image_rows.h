// ImageRows: a picture in memory handed over as a decoder hands it, a few rows at a time.
#pragma once

#include <algorithm>
#include <string>

#include "convert/row_source.h"

namespace moza::testing {

/// The rows of `picture` (not enlarged), read in order; the read that reaches row `failRow` fails
/// with "damaged at row N" instead.
struct ImageRows : convert::RowSource {
    explicit ImageRows(const convert::WorkingImage& picture, int failRow = -1) : image(picture), failAt(failRow) {}
    int width() const override { return image.width(); }
    int height() const override { return image.height(); }
    Status readRows(std::span<convert::ColorValue* const> rows) override {
        for (convert::ColorValue* row : rows) {
            if (next == failAt) return Error{"damaged at row " + std::to_string(next), ErrorKind::PictureDamaged};
            std::copy(image.row(next), image.row(next) + image.width(), row);
            ++next;
        }
        return success();
    }

    const convert::WorkingImage& image;
    int failAt, next = 0;
};

}  // namespace moza::testing
