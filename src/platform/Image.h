#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct _cairo_surface;

namespace zorlet {

// A decoded picture: ARGB32 premultiplied pixels (Cairo's layout, native
// endian, `stride` bytes per row), a size in pixels and a scale (pixels per
// point). Sizes in points are pixels / scale.
class Image {
public:
    Image(int pixelWidth, int pixelHeight, double scale = 1.0);

    int pixelWidth() const { return width_; }
    int pixelHeight() const { return height_; }
    double scale() const { return scale_; }
    void setScale(double scale) { scale_ = scale; }
    double width() const { return width_ / scale_; }    // points
    double height() const { return height_ / scale_; }  // points
    int stride() const { return stride_; }
    std::uint8_t* data() { return pixels_.data(); }
    const std::uint8_t* data() const { return pixels_.data(); }
    // Un-premultiplied ARGB of one pixel.
    std::uint32_t pixelAt(int x, int y) const;

    // JPEG or PNG by content; nothing when the bytes are not a picture we can read.
    static std::shared_ptr<Image> decode(std::string_view bytes, double scale = 1.0);
    static std::shared_ptr<Image> fromFile(const std::string& path, double scale = 1.0);
    // quality 0...1, as the phone framework's JPEG representation takes it.
    std::string jpegData(double quality) const;
    std::string pngData() const;
    // PNG bytes of any Cairo image surface in its own format (RGB24 stays opaque RGB).
    static std::string pngData(_cairo_surface* surface);

    // A Cairo image surface over this image's pixels (no copy): drawing into it
    // changes the image. The caller destroys it and keeps the image alive meanwhile.
    _cairo_surface* createCairoSurface();
    // A copy of any Cairo image surface's pixels as an ARGB32 image.
    static std::shared_ptr<Image> fromCairoSurface(_cairo_surface* surface, double scale = 1.0);

private:
    int width_;
    int height_;
    int stride_;
    double scale_;
    std::vector<std::uint8_t> pixels_;
};

using ImagePtr = std::shared_ptr<Image>;

}  // namespace zorlet
