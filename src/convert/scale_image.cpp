// ScaleImage: a horizontal pass into per-channel sums, then a vertical pass that divides once.
#include "convert/scale_image.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace moza::convert {
namespace {

/// One old pixel's share of a new pixel: its index and the length they overlap. On a line of
/// `from` old pixels mapped onto `to` new ones, each old pixel is `to` units long and each new
/// pixel `from` units, so every overlap is a whole number and a new pixel's weights sum to `from`.
struct Share {
    int source;
    std::int64_t weight;
};

/// For every new pixel, its first share's place in `shares` (one more entry closes the last).
struct Spans {
    std::vector<Share> shares;
    std::vector<std::size_t> first;
};

Spans spansOf(int from, int to) {
    Spans spans;
    spans.first.reserve(static_cast<std::size_t>(to) + 1);
    for (std::int64_t n = 0; n < to; ++n) {
        spans.first.push_back(spans.shares.size());
        const std::int64_t begin = n * from;
        const std::int64_t end = begin + from;
        for (std::int64_t i = begin / to; i * to < end; ++i) {
            const std::int64_t weight = std::min(end, (i + 1) * to) - std::max(begin, i * to);
            if (weight > 0) spans.shares.push_back({static_cast<int>(i), weight});
        }
    }
    spans.first.push_back(spans.shares.size());
    return spans;
}

using ChannelSums = std::array<std::uint64_t, 3>;

void addPixel(ChannelSums& sums, ColorValue value, std::uint64_t weight) {
    sums[0] += weight * (value & 255u);
    sums[1] += weight * ((value >> 8) & 255u);
    sums[2] += weight * ((value >> 16) & 255u);
}

/// Old row `y` resampled across into `out` (one sum per new pixel, weighted by overlaps that
/// sum to the old width).
void resampleRow(const WorkingImage& image, int y, const Spans& across, std::vector<ChannelSums>& out) {
    const ColorValue* line = image.row(y);
    for (std::size_t x = 0; x < out.size(); ++x) {
        ChannelSums sums{};
        for (std::size_t s = across.first[x]; s < across.first[x + 1]; ++s) {
            addPixel(sums, line[across.shares[s].source], static_cast<std::uint64_t>(across.shares[s].weight));
        }
        out[x] = sums;
    }
}

/// Old rows resampled across, one at a time: neighbouring new rows share an old row at their
/// seam, so the last one is kept.
class RowCache {
public:
    RowCache(const WorkingImage& image, const Spans& across, int width)
        : m_image(image), m_across(across), m_row(static_cast<std::size_t>(width)) {}
    const std::vector<ChannelSums>& row(int y) {
        if (y != m_y) resampleRow(m_image, y, m_across, m_row);
        m_y = y;
        return m_row;
    }

private:
    const WorkingImage& m_image;
    const Spans& m_across;
    std::vector<ChannelSums> m_row;
    int m_y = -1;
};

}  // namespace

Result<WorkingImage> ScaleImage(const WorkingImage& image, int width, int height) {
    if (image.width() <= 0 || image.height() <= 0) return Error{"an empty picture cannot be scaled"};
    if (width <= 0 || height <= 0) {
        return Error{"the picture cannot be scaled to " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels"};
    }
    Result<WorkingImage> scaled = WorkingImage::create(width, height);
    if (!scaled) return scaled.error();
    const Spans across = spansOf(image.width(), width);
    const Spans down = spansOf(image.height(), height);
    RowCache rows(image, across, width);
    const std::uint64_t total = static_cast<std::uint64_t>(image.width()) * static_cast<std::uint64_t>(image.height());
    std::vector<ChannelSums> line(static_cast<std::size_t>(width));
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        std::fill(line.begin(), line.end(), ChannelSums{});
        for (std::size_t s = down.first[y]; s < down.first[y + 1]; ++s) {
            const std::vector<ChannelSums>& from = rows.row(down.shares[s].source);
            const auto weight = static_cast<std::uint64_t>(down.shares[s].weight);
            for (std::size_t x = 0; x < line.size(); ++x) {
                for (std::size_t c = 0; c < 3; ++c) line[x][c] += weight * from[x][c];
            }
        }
        ColorValue* out = scaled.value().row(static_cast<int>(y));
        for (std::size_t x = 0; x < line.size(); ++x) {
            ColorValue value = 0;
            for (std::size_t c = 0; c < 3; ++c) value |= static_cast<ColorValue>((line[x][c] + total / 2) / total) << (8 * c);
            out[x] = value;
        }
    }
    return scaled;
}

Result<WorkingImage> ScaleForPage(WorkingImage image, const PageSizeRequest& request) {
    const PictureSize target = TargetPictureSize({image.width(), image.height()}, request);
    if (target == PictureSize{image.width(), image.height()}) return image;
    const std::int64_t pixels = std::int64_t{target.width} * target.height;
    if (pixels > kMaxPicturePixels && pixels > std::int64_t{image.width()} * image.height()) {
        return Error{"the page asked for needs the picture enlarged to " + std::to_string(target.width) + " x " +
                         std::to_string(target.height) + " pixels, more than the " + std::to_string(kMaxPicturePixels) +
                         " pixels (" + std::to_string(kMaxPictureMegabytes) + " MB) a picture may have",
                     ErrorKind::PictureTooLarge,
                     {},
                     {},
                     {.limit = kMaxPictureMegabytes, .width = target.width, .height = target.height}};
    }
    return ScaleImage(image, target.width, target.height);
}

}  // namespace moza::convert
