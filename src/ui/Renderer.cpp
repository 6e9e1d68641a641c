#include "ui/Renderer.h"

#include "ui/AlertRegistry.h"
#include "ui/Animator.h"
#include "ui/Keyboard.h"
#include "ui/Painter.h"
#include "ui/View.h"
#include "ui/Window.h"

#include <cairo.h>

#include <cmath>
#include <fstream>

namespace zorlet {

namespace {

void roundedRectPath(cairo_t* cr, const Rect& rect, double radius) {
    double r = std::min({radius, rect.width() / 2, rect.height() / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, rect.maxX() - r, rect.y() + r, r, -M_PI / 2, 0);
    cairo_arc(cr, rect.maxX() - r, rect.maxY() - r, r, 0, M_PI / 2);
    cairo_arc(cr, rect.x() + r, rect.maxY() - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, rect.x() + r, rect.y() + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void drawKeyboard(cairo_t* cr, const Rect& frame) {
    Painter painter(cr);
    painter.fillRect(frame, Color::rgb(200, 204, 212));
    const double keyWidth = frame.width() / 10;
    const double keyHeight = frame.height() / 4;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 10; ++col) {
            Rect key(frame.x() + col * keyWidth + 3, frame.y() + row * keyHeight + 6, keyWidth - 6,
                     keyHeight - 12);
            painter.fillRoundedRect(key, 4, Color::whiteColor());
        }
    }
    painter.drawText(Rect(frame.x(), frame.maxY() - keyHeight + 6, frame.width(), keyHeight - 12),
                     Keyboard::shared().currentInputMode(), Font::systemFont(12), Color::white(0.4),
                     TextAlignment::Center);
}

void writeFile(const std::string& path, const std::string& bytes, bool* ok) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    *ok = static_cast<bool>(out);
}

}  // namespace

void Renderer::drawView(cairo_t* cr, const View& view) {
    // What is on screen now: an animation may still be moving the view.
    const Animator& animator = Animator::shared();
    double alpha = animator.presentationAlpha(view);
    if (view.isHidden() || alpha <= 0.001) {
        return;
    }
    Rect frame = animator.presentationFrame(view);
    Rect box(0, 0, frame.width(), frame.height());
    cairo_save(cr);
    cairo_translate(cr, frame.x(), frame.y());
    AffineTransform transform = animator.presentationTransform(view);
    if (!transform.isIdentity()) {
        if (std::fabs(transform.a * transform.d - transform.b * transform.c) < 1e-9) {
            cairo_restore(cr);  // squashed flat: nothing to see, and Cairo refuses such a matrix
            return;
        }
        cairo_matrix_t matrix;
        cairo_matrix_init(&matrix, transform.a, transform.b, transform.c, transform.d, transform.tx,
                          transform.ty);
        cairo_translate(cr, box.width() / 2, box.height() / 2);
        cairo_transform(cr, &matrix);
        cairo_translate(cr, -box.width() / 2, -box.height() / 2);
    }
    bool faded = alpha < 1;
    if (faded) {
        cairo_push_group(cr);
    }
    if (view.clipsToBounds() || view.cornerRadius() > 0) {
        if (view.cornerRadius() > 0) {
            roundedRectPath(cr, box, view.cornerRadius());
        } else {
            cairo_rectangle(cr, 0, 0, box.width(), box.height());
        }
        cairo_clip(cr);
    }
    Painter painter(cr);
    if (!view.backgroundColor().isClear()) {
        painter.fillRect(box, view.backgroundColor());
    }
    if (view.backgroundImage()) {
        painter.drawImage(*view.backgroundImage(), box);
    }
    view.draw(painter);
    Point origin = view.boundsOrigin();
    cairo_translate(cr, -origin.x, -origin.y);
    for (const auto& child : view.subviews()) {
        drawView(cr, *child);
    }
    if (faded) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
}

ImagePtr Renderer::renderView(const View& view, double scale) {
    int width = static_cast<int>(std::ceil(view.frame().width() * scale));
    int height = static_cast<int>(std::ceil(view.frame().height() * scale));
    auto image = std::make_shared<Image>(width, height, scale);
    if (width == 0 || height == 0) {
        return image;
    }
    cairo_surface_t* surface = image->createCairoSurface();
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -view.frame().x(), -view.frame().y());
    drawView(cr, view);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return image;
}

ImagePtr Renderer::renderWindow(const Window& window, double scale) {
    Size screen = window.frame().size;
    int width = static_cast<int>(std::ceil(screen.width * scale));
    int height = static_cast<int>(std::ceil(screen.height * scale));
    auto image = std::make_shared<Image>(width, height, scale);
    if (width == 0 || height == 0) {
        return image;
    }
    cairo_surface_t* surface = image->createCairoSurface();
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    cairo_save(cr);
    cairo_translate(cr, -window.frame().x(), -window.frame().y());
    drawView(cr, window);
    cairo_restore(cr);
    drawView(cr, window.statusBar());

    Painter painter(cr);
    auto& registry = AlertRegistry::shared();
    for (const auto& sheet : registry.sheets()) {
        painter.fillRect(Rect(Point{}, screen), Color::white(0, 0.4));
        sheet->layoutForScreen(screen);
        drawView(cr, *sheet);
    }
    for (const auto& alert : registry.alerts()) {
        painter.fillRect(Rect(Point{}, screen), Color::white(0, 0.4));
        alert->layoutForScreen(screen);
        drawView(cr, *alert);
    }
    if (Keyboard::shared().isShown()) {
        drawKeyboard(cr, Keyboard::shared().frame());
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return image;
}

bool Renderer::writeWindowPng(const Window& window, const std::string& path, double scale) {
    std::string png = renderWindow(window, scale)->pngData();
    if (png.empty()) {
        return false;
    }
    bool ok = false;
    writeFile(path, png, &ok);
    return ok;
}

}  // namespace zorlet
