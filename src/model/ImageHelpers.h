#pragma once

#include "platform/Image.h"

namespace zorlet {

// Avatar and picture preparation after a web image has loaded. Sizes are in
// points; results keep the source's scale. A picture that cannot be produced
// (empty source, a target that is not a positive size or is too large)
// logs "could not scale image" and gives nothing.

// Fills exactly `width` × `height`, scaled by the larger factor and centred,
// so the overflow is cut equally on both sides.
ImagePtr imageByScalingAndCroppingForSize(const Image& image, double width, double height);

// The image at `width`, with the height in proportion.
ImagePtr imageByScalingByWidth(const Image& image, double width);

// The image at its own pixel size, clipped to a rectangle whose corners are
// arcs of `radius` points (transparent outside); 0 clips nothing. A radius
// larger than half the shorter side is reduced to it.
ImagePtr createRoundedRectImage(const Image& image, double radius);

}  // namespace zorlet
