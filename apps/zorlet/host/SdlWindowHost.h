#pragma once

#include "platform/Image.h"
#include "platform/Result.h"
#include "ui/Geometry.h"

#include <memory>
#include <string>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace zorlet {

class AppHost;
class ScrollView;
class View;

// The phone screen in a desktop window (SDL2): 320 × 480 points drawn by the
// toolkit's renderer at 2×. A click is a tap, a drag moves the scroll view
// under it (pulling a list down past its top refreshes it), typed text (UTF-8,
// so an input method can supply Chinese) goes to the focused input, Escape
// goes back (or closes the photo picker or a composer), and a picture file
// dropped on the window is what the open photo picker gets. Links the app
// opens and messages it composes go to the desktop through xdg-open.
// Minimising the window or leaving it sends the app to the background;
// coming back brings it to the foreground. The picture is redrawn only when
// the view tree changed.
class SdlWindowHost {
public:
    static constexpr double kScale = 2.0;

    explicit SdlWindowHost(AppHost& app);
    ~SdlWindowHost();
    SdlWindowHost(const SdlWindowHost&) = delete;
    SdlWindowHost& operator=(const SdlWindowHost&) = delete;

    // Whether a display is there to open a window on.
    static bool displayAvailable();

    // A failure when SDL cannot open the window.
    Status open();
    // Runs until the window is closed; the process's exit status.
    int run();

    // One turn: handles waiting input (up to `waitMs` for the first), runs the
    // app's main loop, redraws when needed. False once the window was closed.
    bool pumpOnce(int waitMs);
    // What the window shows now, read back from the renderer.
    ImagePtr screenshot() const;
    int redrawCount() const { return redraws_; }
    // Window pixels to points.
    Point toPoints(int x, int y) const;

private:
    void handle(const SDL_Event& event);
    // A picture file dropped on the window is the photo picker's choice.
    void dropFile(const std::string& path);
    void mouseDown(Point point);
    void mouseMoved(Point point);
    void mouseUp(Point point);
    void updateTextInput();
    bool redrawIfChanged();

    AppHost& app_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool sdlStarted_ = false;
    bool quit_ = false;
    bool forceRedraw_ = true;
    std::string lastDump_;
    int redraws_ = 0;
    bool textInputOn_ = false;

    // The finger: where it went down, and the scroll view it drags.
    bool pressed_ = false;
    bool dragging_ = false;
    Point pressPoint_;
    Point pressOffset_;
    std::weak_ptr<View> dragTarget_;
};

}  // namespace zorlet
