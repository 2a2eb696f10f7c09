// ScaleImage: a working image resampled to another size by area averaging.
#pragma once

#include "common/result.h"
#include "convert/page_size.h"
#include "convert/working_image.h"

namespace moza::convert {

/// A copy of `image` at `width` x `height` pixels. Each new pixel is the average of the part of
/// the old image it covers, every old pixel weighted by the area it shares with it (exact integer
/// arithmetic, rounded to nearest), so a picture scaled down shows no aliasing and one scaled up
/// is sharp with blended seams. Fails when the new size is not positive, is taller than
/// kMaxPictureHeight or cannot be had in memory, or when `image` is empty.
Result<WorkingImage> ScaleImage(const WorkingImage& image, int width, int height);

/// `image` at the size TargetPictureSize gives it under `request`, or `image` itself, untouched,
/// when that is its own size (so a page made without size options is the page of the picture as
/// loaded). Fails as ScaleImage does, and with PictureTooLarge when `request` would enlarge the
/// picture beyond kMaxPicturePixels.
Result<WorkingImage> ScaleForPage(WorkingImage image, const PageSizeRequest& request);

}  // namespace moza::convert
