// DecodeCommonJpeg: the usual JPEG photo decoded by libjpeg-turbo straight into a working image.
#pragma once

#include <filesystem>
#include <optional>

#include "convert/working_image.h"

namespace moza::picture {

/// Whether this build decodes JPEG files itself (with libjpeg-turbo) rather than through Qt.
bool DecodesJpegDirectly();

/// The working image of the JPEG file `file`, of `width` x `height` pixels as its header says,
/// decoded by libjpeg-turbo with the settings Qt's JPEG reader uses, so the pixels are the ones
/// Qt would give, without Qt's intermediate 24-bit picture and its conversion. For three-colour
/// JPEGs only (Qt reads them as RGB32) whose EXIF orientation is "normal": the caller checks that.
/// Gives nothing, having decoded nothing usable, for any other file, when libjpeg warns about the
/// data (a damaged or cut-short file), fails, or is not part of this build: the caller then
/// decodes the file through Qt, which says what is wrong with it.
std::optional<convert::WorkingImage> DecodeCommonJpeg(const std::filesystem::path& file, int width, int height);

}  // namespace moza::picture
