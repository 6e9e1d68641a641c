#include "host/SdlWindowHost.h"

#include "host/AppHost.h"
#include "host/DesktopOpener.h"
#include "host/ScreenGestures.h"
#include "host/ScreenQuery.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "ui/Animator.h"
#include "ui/Application.h"
#include "ui/ComposeViewController.h"
#include "ui/ImagePickerController.h"
#include "ui/Keyboard.h"
#include "ui/Renderer.h"
#include "ui/ScrollView.h"
#include "ui/TextInput.h"
#include "ui/UserInput.h"
#include "ui/ViewController.h"
#include "ui/ViewTreeDump.h"
#include "ui/Window.h"

#include <cmath>
#include <cstdlib>

#if ZORLET_HAS_SDL
#include <SDL.h>
#endif

namespace zorlet {

namespace {

// A press that moves less than this (points) is a tap, not a drag.
constexpr double kTapSlop = 6;
constexpr int kWidth = static_cast<int>(ViewController::kScreenWidth * SdlWindowHost::kScale);
constexpr int kHeight = static_cast<int>(ViewController::kScreenHeight * SdlWindowHost::kScale);

}  // namespace

SdlWindowHost::SdlWindowHost(AppHost& app) : app_(app) {}

bool SdlWindowHost::displayAvailable() {
#if ZORLET_HAS_SDL
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
#else
    return false;
#endif
}

#if ZORLET_HAS_SDL

SdlWindowHost::~SdlWindowHost() {
    Application::shared().setUrlOpener({});
    ComposeViewController::setDelivery(nullptr);
    if (textInputOn_) {
        SDL_StopTextInput();
    }
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
    }
    if (renderer_ != nullptr) {
        SDL_DestroyRenderer(renderer_);
    }
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
    }
    if (sdlStarted_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Quit();
    }
}

Status SdlWindowHost::open() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return Failure{std::string("no window: ") + SDL_GetError()};
    }
    sdlStarted_ = true;
    window_ = SDL_CreateWindow("Zorlet", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, kHeight,
                               SDL_WINDOW_SHOWN);
    if (window_ == nullptr) {
        return Failure{std::string("no window: ") + SDL_GetError()};
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (renderer_ == nullptr) {
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    }
    if (renderer_ == nullptr) {
        return Failure{std::string("no renderer: ") + SDL_GetError()};
    }
    // Cairo's ARGB32 is SDL's ARGB8888 in native byte order.
    texture_ =
        SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
    if (texture_ == nullptr) {
        return Failure{std::string("no texture: ") + SDL_GetError()};
    }
    SDL_StopTextInput();
    Application::shared().setUrlOpener(&DesktopOpener::open);
    // A composed message goes to the desktop's mail or messaging program as a link.
    ComposeViewController::setDelivery([](const OutgoingMessage& message) {
        return Application::shared().openURL(message.handoffUrl()) ? ComposeResult::Sent
                                                                   : ComposeResult::Failed;
    });
    log().info("window open: {}x{} pixels for {}x{} points", kWidth, kHeight, ViewController::kScreenWidth,
               ViewController::kScreenHeight);
    return {};
}

int SdlWindowHost::run() {
    while (pumpOnce(15)) {
    }
    return 0;
}

bool SdlWindowHost::pumpOnce(int waitMs) {
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, waitMs) != 0) {
        handle(event);
        while (!quit_ && SDL_PollEvent(&event) != 0) {
            handle(event);
        }
    }
    MainLoop::main().runPending();
    updateTextInput();
    redrawIfChanged();
    return !quit_;
}

Point SdlWindowHost::toPoints(int x, int y) const {
    int width = kWidth;
    int height = kHeight;
    if (window_ != nullptr) {
        SDL_GetWindowSize(window_, &width, &height);
    }
    return {x * ViewController::kScreenWidth / std::max(width, 1),
            y * ViewController::kScreenHeight / std::max(height, 1)};
}

void SdlWindowHost::handle(const SDL_Event& event) {
    Window* window = app_.window();
    switch (event.type) {
        case SDL_QUIT:
            quit_ = true;
            break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    forceRedraw_ = true;
                    break;
                // A phone app stops its polling when the user leaves it; a minimised or
                // unfocused window is the desktop's way of leaving.
                case SDL_WINDOWEVENT_MINIMIZED:
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    app_.enterBackground();
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    app_.enterForeground();
                    forceRedraw_ = true;
                    break;
                default:
                    break;
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT) {
                mouseDown(toPoints(event.button.x, event.button.y));
            }
            break;
        case SDL_MOUSEMOTION:
            if (pressed_) {
                mouseMoved(toPoints(event.motion.x, event.motion.y));
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT) {
                mouseUp(toPoints(event.button.x, event.button.y));
            }
            break;
        case SDL_MOUSEWHEEL:
            if (window != nullptr) {
                int x = 0;
                int y = 0;
                SDL_GetMouseState(&x, &y);
                if (ScrollView* scrollView = ScreenQuery(*window).scrollViewAt(toPoints(x, y))) {
                    UserInput::scroll(*scrollView, {0, -40.0 * event.wheel.y});
                }
            }
            break;
        case SDL_TEXTINPUT:
            UserInput::typeText(event.text.text);
            break;
        case SDL_DROPFILE:
            if (event.drop.file != nullptr) {
                dropFile(event.drop.file);
                SDL_free(event.drop.file);
            }
            break;
        case SDL_KEYDOWN:
            switch (event.key.keysym.sym) {
                case SDLK_BACKSPACE:
                    UserInput::deleteBackward();
                    break;
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    UserInput::pressReturn();
                    break;
                case SDLK_ESCAPE:
                    if (ImagePickerController* picker = ImagePickerController::visiblePicker()) {
                        picker->cancel();
                    } else if (ComposeViewController* composer = ComposeViewController::presentedComposer()) {
                        composer->cancel();
                    } else if (window != nullptr) {
                        if (auto went = ScreenGestures(*window).back(); !went) {
                            log().info("back: {}", went.error());
                        }
                    }
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
}

void SdlWindowHost::dropFile(const std::string& path) {
    if (ImagePickerController* picker = ImagePickerController::visiblePicker()) {
        if (auto taken = picker->pickImage(path); !taken) {
            log().warn("the dropped file was not taken: {}", taken.error());
        }
        return;
    }
    log().info("a file was dropped while no photo picker was open: {}", path);
}

void SdlWindowHost::mouseDown(Point point) {
    pressed_ = true;
    dragging_ = false;
    pressPoint_ = point;
    dragTarget_.reset();
    Window* window = app_.window();
    if (window == nullptr) {
        return;
    }
    ScreenQuery query(*window);
    if (query.shownAlert() != nullptr || query.shownSheet() != nullptr) {
        return;  // only taps reach an alert
    }
    for (View* view = window->hitTest(point); view != nullptr; view = view->superview()) {
        if (auto* scrollView = dynamic_cast<ScrollView*>(view); scrollView && scrollView->isScrollEnabled()) {
            dragTarget_ = scrollView->weak_from_this();
            pressOffset_ = scrollView->contentOffset();
            break;
        }
    }
}

void SdlWindowHost::mouseMoved(Point point) {
    auto target = std::dynamic_pointer_cast<ScrollView>(dragTarget_.lock());
    if (!target) {
        return;
    }
    double dx = point.x - pressPoint_.x;
    double dy = point.y - pressPoint_.y;
    if (!dragging_) {
        if (std::hypot(dx, dy) < kTapSlop) {
            return;
        }
        dragging_ = true;
        target->beginDragging();
    }
    // The content follows the finger.
    target->dragTo({pressOffset_.x - dx, pressOffset_.y - dy});
}

void SdlWindowHost::mouseUp(Point point) {
    bool wasDragging = dragging_;
    pressed_ = false;
    dragging_ = false;
    if (wasDragging) {
        if (auto target = std::dynamic_pointer_cast<ScrollView>(dragTarget_.lock())) {
            target->endDragging();
        }
        dragTarget_.reset();
        return;
    }
    dragTarget_.reset();
    if (Window* window = app_.window()) {
        if (auto tapped = ScreenGestures(*window).tapAt(point); !tapped) {
            log().debug("tap: {}", tapped.error());
        }
    }
}

void SdlWindowHost::updateTextInput() {
    TextInput* focused = Keyboard::shared().firstResponder();
    if (focused != nullptr && !textInputOn_) {
        View& view = focused->inputView();
        Point origin = view.convertToWindow(view.boundsOrigin());
        SDL_Rect area{static_cast<int>(origin.x * kScale), static_cast<int>(origin.y * kScale),
                      static_cast<int>(view.frame().width() * kScale),
                      static_cast<int>(view.frame().height() * kScale)};
        SDL_SetTextInputRect(&area);  // where the input method shows its candidates
        SDL_StartTextInput();
        textInputOn_ = true;
    } else if (focused == nullptr && textInputOn_) {
        SDL_StopTextInput();
        textInputOn_ = false;
    }
}

bool SdlWindowHost::redrawIfChanged() {
    Window* window = app_.window();
    if (window == nullptr || renderer_ == nullptr) {
        return false;
    }
    std::string dump = ViewTreeDump::dumpScreen(*window);
    // Animations move what is drawn, not the tree: every frame is drawn while one runs.
    bool moving = Animator::shared().isAnimating();
    if (!forceRedraw_ && !moving && dump == lastDump_) {
        return false;
    }
    ImagePtr picture = Renderer::renderWindow(*window, kScale);
    if (!picture) {
        return false;
    }
    lastDump_ = std::move(dump);
    forceRedraw_ = moving;  // once more after the last moving frame, to show where it ended
    SDL_UpdateTexture(texture_, nullptr, picture->data(), picture->stride());
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    ++redraws_;
    return true;
}

ImagePtr SdlWindowHost::screenshot() const {
    if (renderer_ == nullptr) {
        return nullptr;
    }
    int width = 0;
    int height = 0;
    if (SDL_GetRendererOutputSize(renderer_, &width, &height) != 0 || width <= 0 || height <= 0) {
        return nullptr;
    }
    // Drawn again first: what a renderer holds after presenting is not defined.
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    auto image = std::make_shared<Image>(width, height, kScale);
    if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, image->data(), image->stride()) !=
        0) {
        return nullptr;
    }
    return image;
}

#else

SdlWindowHost::~SdlWindowHost() = default;

Status SdlWindowHost::open() {
    return Failure{"this build has no window support (SDL2 was not found)"};
}

int SdlWindowHost::run() {
    return 1;
}

bool SdlWindowHost::pumpOnce(int) {
    return false;
}

ImagePtr SdlWindowHost::screenshot() const {
    return nullptr;
}

Point SdlWindowHost::toPoints(int x, int y) const {
    return {x / kScale, y / kScale};
}

void SdlWindowHost::handle(const SDL_Event&) {}
void SdlWindowHost::dropFile(const std::string&) {}
void SdlWindowHost::mouseDown(Point) {}
void SdlWindowHost::mouseMoved(Point) {}
void SdlWindowHost::mouseUp(Point) {}
void SdlWindowHost::updateTextInput() {}
bool SdlWindowHost::redrawIfChanged() {
    return false;
}

#endif

}  // namespace zorlet
