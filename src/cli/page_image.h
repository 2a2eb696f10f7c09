// The picture of a made page, for moza-convert --image.
#pragma once

#include <filesystem>

#include "common/result.h"

namespace moza::cli {

/// Must run once, after the Qt application object exists: makes the page font drawable (the one
/// shipped in `dataFolder`, else the system's). Fails, saying so, when there is none.
Status PreparePageImages(const std::filesystem::path& dataFolder);

/// Draws the page file `page` `width` pixels wide (0: the whole page within 4096 pixels, or 1:1
/// when smaller) as the desktop program's art view shows it, and writes it as a PNG at `image`,
/// which stays as it was unless the whole picture is written. Fails with a message that names the
/// picture: a width the page cannot be drawn at (the message gives the range), no memory, a file
/// that cannot be written.
Status WritePageImage(const std::filesystem::path& page, const std::filesystem::path& image, int width);

}  // namespace moza::cli
