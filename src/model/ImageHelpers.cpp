#include "model/ImageHelpers.h"

#include "platform/Log.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorlet {

namespace {

// Large enough for any picture the app shows, small enough that garbage sizes cannot exhaust memory.
constexpr double kMaxPixelSide = 16384;

ImagePtr couldNotScale() {
    log().warn("could not scale image");
    return nullptr;
}

// A read-only Cairo view of `image`'s pixels; Cairo's API is not const-aware but never writes a source.
cairo_surface_t* sourceSurface(const Image& image) {
    return cairo_image_surface_create_for_data(const_cast<std::uint8_t*>(image.data()), CAIRO_FORMAT_ARGB32,
                                               image.pixelWidth(), image.pixelHeight(), image.stride());
}

// Cairo's good filter shrinks by a factor below 3/4 with a convolution that
// costs half a millisecond for an avatar and several for a photo, on the main
// loop while a list fills. Halving first (each step averages 2×2 pixels) until
// at most one more halving is left, then finishing bilinearly, looks the same
// for a fraction of the cost. The caller owns the surface returned.
cairo_surface_t* halvedFor(cairo_surface_t* source, double drawnPixelWidth, double drawnPixelHeight) {
    cairo_surface_t* current = cairo_surface_reference(source);
    int width = cairo_image_surface_get_width(source);
    int height = cairo_image_surface_get_height(source);
    while (drawnPixelWidth * 2 <= width && drawnPixelHeight * 2 <= height && width >= 2 && height >= 2) {
        int halfWidth = (width + 1) / 2;
        int halfHeight = (height + 1) / 2;
        cairo_surface_t* half = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, halfWidth, halfHeight);
        cairo_t* cr = cairo_create(half);
        cairo_scale(cr, static_cast<double>(halfWidth) / width, static_cast<double>(halfHeight) / height);
        cairo_set_source_surface(cr, current, 0, 0);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(current);
        if (cairo_surface_status(half) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(half);
            return cairo_surface_reference(source);
        }
        current = half;
        width = halfWidth;
        height = halfHeight;
    }
    return current;
}

// Draws `image` into a new transparent canvas of `width` × `height` points,
// with the image's top-left corner at (x, y) and its size `drawnWidth` × `drawnHeight`.
ImagePtr drawScaled(const Image& image, double width, double height, double x, double y, double drawnWidth,
                    double drawnHeight) {
    if (image.pixelWidth() <= 0 || image.pixelHeight() <= 0) {
        return couldNotScale();
    }
    double scale = image.scale();
    double pixelWidth = std::round(width * scale);
    double pixelHeight = std::round(height * scale);
    if (!(pixelWidth >= 1 && pixelWidth <= kMaxPixelSide && pixelHeight >= 1 &&
          pixelHeight <= kMaxPixelSide)) {
        return couldNotScale();
    }
    if (!std::isfinite(x) || !std::isfinite(y) || !(drawnWidth > 0) || !(drawnHeight > 0) ||
        !std::isfinite(drawnWidth) || !std::isfinite(drawnHeight)) {
        return couldNotScale();
    }

    auto result = std::make_shared<Image>(static_cast<int>(pixelWidth), static_cast<int>(pixelHeight), scale);
    cairo_surface_t* target = result->createCairoSurface();
    cairo_surface_t* original = sourceSurface(image);
    cairo_surface_t* source = halvedFor(original, drawnWidth * scale, drawnHeight * scale);
    cairo_surface_destroy(original);
    cairo_t* cr = cairo_create(target);
    cairo_scale(cr, scale, scale);
    // Clip to the drawn area and pad the source, so edges are not blended with transparency.
    cairo_rectangle(cr, x, y, drawnWidth, drawnHeight);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, drawnWidth / cairo_image_surface_get_width(source),
                drawnHeight / cairo_image_surface_get_height(source));
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_flush(target);
    cairo_surface_destroy(source);
    cairo_surface_destroy(target);
    return drawn ? result : couldNotScale();
}

}  // namespace

ImagePtr imageByScalingAndCroppingForSize(const Image& image, double width, double height) {
    if (image.pixelWidth() <= 0 || image.pixelHeight() <= 0) {
        return couldNotScale();
    }
    double imageWidth = image.width();
    double imageHeight = image.height();
    if (width == imageWidth && height == imageHeight) {
        return drawScaled(image, width, height, 0, 0, imageWidth, imageHeight);
    }
    double widthFactor = width / imageWidth;
    double heightFactor = height / imageHeight;
    double factor = std::max(widthFactor, heightFactor);
    double drawnWidth = imageWidth * factor;
    double drawnHeight = imageHeight * factor;
    double x = 0;
    double y = 0;
    if (widthFactor > heightFactor) {
        y = (height - drawnHeight) / 2;
    } else if (widthFactor < heightFactor) {
        x = (width - drawnWidth) / 2;
    }
    return drawScaled(image, width, height, x, y, drawnWidth, drawnHeight);
}

ImagePtr imageByScalingByWidth(const Image& image, double width) {
    if (image.pixelWidth() <= 0 || image.pixelHeight() <= 0) {
        return couldNotScale();
    }
    double factor = width / image.width();
    double drawnWidth = image.width() * factor;
    double drawnHeight = image.height() * factor;
    return drawScaled(image, drawnWidth, drawnHeight, 0, 0, drawnWidth, drawnHeight);
}

ImagePtr createRoundedRectImage(const Image& image, double radius) {
    int width = image.pixelWidth();
    int height = image.pixelHeight();
    auto result = std::make_shared<Image>(width, height, image.scale());
    if (width == 0 || height == 0) {
        return result;
    }
    double r = std::isfinite(radius) ? std::abs(radius) * image.scale() : 0;
    r = std::min(r, std::min(width, height) / 2.0);

    cairo_surface_t* target = result->createCairoSurface();
    cairo_surface_t* source = sourceSurface(image);
    cairo_t* cr = cairo_create(target);
    if (r > 0) {
        constexpr double quarter = std::numbers::pi / 2;
        cairo_new_sub_path(cr);
        cairo_arc(cr, width - r, r, r, -quarter, 0);
        cairo_arc(cr, width - r, height - r, r, 0, quarter);
        cairo_arc(cr, r, height - r, r, quarter, 2 * quarter);
        cairo_arc(cr, r, r, r, 2 * quarter, 3 * quarter);
        cairo_close_path(cr);
    } else {
        cairo_rectangle(cr, 0, 0, width, height);
    }
    cairo_clip(cr);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(target);
    cairo_surface_destroy(source);
    cairo_surface_destroy(target);
    return result;
}

}  // namespace zorlet
