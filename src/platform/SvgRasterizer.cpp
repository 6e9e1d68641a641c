#include "platform/SvgRasterizer.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>

namespace zorlet {

namespace {

// Pictures are icons and backgrounds: anything beyond this is a broken file,
// not artwork, and would only exhaust memory when rasterised.
constexpr double kMaxSide = 4096;

std::string takeMessage(GError* error, const char* fallback) {
    if (error == nullptr) {
        return fallback;
    }
    std::string message = error->message;
    g_error_free(error);
    return message;
}

SvgRasterizer::Loaded adopt(RsvgHandle* handle) {
    double width = 0;
    double height = 0;
    // Only documents that state their size in absolute units have a point size.
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height)) {
        g_object_unref(handle);
        return {nullptr, "the document has no absolute width and height"};
    }
    if (!(width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide)) {
        g_object_unref(handle);
        return {nullptr, "the document's size is empty or too large"};
    }
    return {std::make_shared<const SvgRasterizer>(handle, width, height), {}};
}

}  // namespace

SvgRasterizer::Loaded SvgRasterizer::fromFile(const std::string& path) {
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &error);
    if (handle == nullptr) {
        return {nullptr, path + ": " + takeMessage(error, "not an SVG document")};
    }
    Loaded loaded = adopt(handle);
    if (!loaded.rasterizer) {
        loaded.error = path + ": " + loaded.error;
    }
    return loaded;
}

SvgRasterizer::Loaded SvgRasterizer::fromData(std::string_view bytes) {
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(bytes.data()),
                                                   static_cast<gsize>(bytes.size()), &error);
    if (handle == nullptr) {
        return {nullptr, takeMessage(error, "not an SVG document")};
    }
    return adopt(handle);
}

SvgRasterizer::SvgRasterizer(_RsvgHandle* handle, double width, double height)
    : handle_(handle), width_(width), height_(height) {}

SvgRasterizer::~SvgRasterizer() {
    g_object_unref(handle_);
}

ImagePtr SvgRasterizer::rasterize(double scale) const {
    if (!(scale > 0 && width_ * scale <= kMaxSide && height_ * scale <= kMaxSide)) {
        return nullptr;
    }
    std::lock_guard lock(mutex_);
    auto found = renditions_.find(scale);
    if (found != renditions_.end()) {
        return found->second;
    }
    ImagePtr image = draw(scale);
    renditions_.emplace(scale, image);
    return image;
}

ImagePtr SvgRasterizer::draw(double scale) const {
    int pixelWidth = static_cast<int>(std::ceil(width_ * scale - 1e-6));
    int pixelHeight = static_cast<int>(std::ceil(height_ * scale - 1e-6));
    auto image = std::make_shared<Image>(pixelWidth, pixelHeight, scale);
    cairo_surface_t* surface = image->createCairoSurface();
    cairo_t* cr = cairo_create(surface);
    RsvgRectangle viewport{0, 0, width_ * scale, height_ * scale};
    GError* error = nullptr;
    bool drawn = rsvg_handle_render_document(handle_, cr, &viewport, &error);
    if (error != nullptr) {
        g_error_free(error);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return drawn ? image : nullptr;
}

}  // namespace zorlet
