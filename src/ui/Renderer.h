#pragma once

#include "platform/Image.h"

#include <string>

struct _cairo;

namespace zorlet {

class View;
class Window;

// Draws view trees with Cairo and Pango into images. The window picture has
// the status bar, the tree, then the sheets, alerts and keyboard on top.
class Renderer {
public:
    static constexpr double kDefaultScale = 2.0;

    static ImagePtr renderWindow(const Window& window, double scale = kDefaultScale);
    // One view (and its subviews) at its own size.
    static ImagePtr renderView(const View& view, double scale = kDefaultScale);
    // Writes the window picture as PNG; false when the file cannot be written.
    static bool writeWindowPng(const Window& window, const std::string& path, double scale = kDefaultScale);

    // Draws `view` with its frame origin at the context's current origin.
    static void drawView(_cairo* cr, const View& view);
};

}  // namespace zorlet
