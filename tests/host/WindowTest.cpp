#include "HostTestSupport.h"
#include "XvfbDisplay.h"

#include "host/ScreenQuery.h"
#include "host/SdlWindowHost.h"
#include "ui/MessageComposeViewController.h"
#include "ui/Window.h"

#include <dlfcn.h>

#include <fstream>
#include <set>

#if ZORLET_HAS_SDL
#include <SDL.h>
#endif

namespace zorlet::test {
namespace {

#if ZORLET_HAS_SDL

std::size_t distinctColours(const Image& image) {
    std::set<std::uint32_t> colours;
    for (int y = 0; y < image.pixelHeight(); y += 4) {
        for (int x = 0; x < image.pixelWidth(); x += 4) {
            colours.insert(image.pixelAt(x, y) | 0xFF000000u);
            if (colours.size() > 16) {
                return colours.size();
            }
        }
    }
    return colours.size();
}

void click(Point points) {
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        event.button.x = static_cast<Sint32>(points.x * SdlWindowHost::kScale);
        event.button.y = static_cast<Sint32>(points.y * SdlWindowHost::kScale);
        SDL_PushEvent(&event);
    }
}

// SDL loads the X and GL libraries itself and unloads them when it quits; the leak
// checker then cannot name what they kept. Loaded here for good, they stay
// named, and the suppressions (LeakSuppressions.cpp) apply.
void pinXLibraries() {
    for (const char* name : {"libX11.so.6", "libXext.so.6", "libXcursor.so.1", "libXi.so.6", "libXrandr.so.2",
                             "libXss.so.1", "libXfixes.so.3", "libxkbcommon.so.0", "libGL.so.1",
                             "libGLX_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"}) {
        dlopen(name, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    }
}

class WindowTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        pinXLibraries();
        if (XvfbDisplay::program().empty()) {
            GTEST_SKIP() << "Xvfb is not installed";
        }
        ASSERT_TRUE(display_.start()) << "Xvfb did not start";
        ::setenv("SDL_RENDER_DRIVER", "software", 1);
        MainLoop::main().clock().setVirtual(false);  // the window runs in real time
    }
    void TearDown() override {
        host_.reset();
        HostTest::TearDown();
        display_.stop();
    }
    // Pumps until `condition` holds (bounded).
    bool pumpUntil(const std::function<bool()>& condition) {
        for (int i = 0; i < 300; ++i) {
            host_->pumpOnce(10);
            app_.settle(Duration(2000));
            if (condition()) {
                return true;
            }
        }
        return false;
    }
    std::string visibleScreen() const {
        auto* controller = ScreenQuery(*app_.window()).visibleViewController();
        return controller ? controller->className() : "(none)";
    }

    XvfbDisplay display_;
    std::unique_ptr<SdlWindowHost> host_;
};

TEST_F(WindowTest, AClickOnTheWelcomeScreenOpensTheSignInScreen) {
    ASSERT_TRUE(app_.launch(true, true));
    host_ = std::make_unique<SdlWindowHost>(app_);
    auto opened = host_->open();
    ASSERT_TRUE(opened) << opened.error();
    ASSERT_TRUE(pumpUntil([&] { return host_->redrawCount() >= 1; }));

    // Nothing changed: no new frame.
    int frames = host_->redrawCount();
    for (int i = 0; i < 5; ++i) {
        host_->pumpOnce(5);
    }
    EXPECT_EQ(host_->redrawCount(), frames);

    ImagePtr welcome = host_->screenshot();
    ASSERT_TRUE(welcome);
    EXPECT_EQ(welcome->pixelWidth(), 640);
    EXPECT_EQ(welcome->pixelHeight(), 960);
    EXPECT_GT(distinctColours(*welcome), 2u) << "the window is blank";

    auto buttons = ScreenQuery(*app_.window()).findId("goLogin");
    ASSERT_FALSE(buttons.empty());
    click(buttons[0].center());
    EXPECT_TRUE(pumpUntil([&] { return visibleScreen() == "LoginViewController"; })) << visibleScreen();
    EXPECT_GT(host_->redrawCount(), frames);
    ImagePtr signIn = host_->screenshot();
    ASSERT_TRUE(signIn);
    EXPECT_GT(distinctColours(*signIn), 2u);
}

void windowEvent(Uint8 kind) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = kind;
    SDL_PushEvent(&event);
}

TEST_F(WindowTest, LeavingTheWindowSendsTheAppToTheBackgroundAndLinksGoToTheDesktop) {
    ASSERT_TRUE(app_.launch(true, true));
    host_ = std::make_unique<SdlWindowHost>(app_);
    auto opened = host_->open();
    ASSERT_TRUE(opened) << opened.error();
    // The window's own first events (shown, focused) come and go before the test's.
    ASSERT_TRUE(pumpUntil([&] { return host_->redrawCount() >= 1; }));
    for (int i = 0; i < 20; ++i) {
        host_->pumpOnce(10);
    }
    ASSERT_FALSE(app_.isInBackground());

    windowEvent(SDL_WINDOWEVENT_MINIMIZED);
    EXPECT_TRUE(pumpUntil([&] { return app_.isInBackground(); }));
    windowEvent(SDL_WINDOWEVENT_RESTORED);
    EXPECT_TRUE(pumpUntil([&] { return !app_.isInBackground(); }));
    windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_TRUE(pumpUntil([&] { return app_.isInBackground(); }));
    windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_TRUE(pumpUntil([&] { return !app_.isInBackground(); }));

    // The window hands links to xdg-open, which refuses what is not a web, mail, message or map link.
    EXPECT_FALSE(Application::shared().openURL("file:///etc/passwd"));

    // A composed message leaves as a link; a stand-in xdg-open keeps the desktop out of the test.
    auto stub =
        std::filesystem::temp_directory_path() / ("zorlet-window-opener-" + std::to_string(::getpid()));
    std::filesystem::create_directories(stub);
    std::ofstream(stub / "xdg-open") << "#!/bin/sh\ntouch \"$0.ran\"\n";
    std::filesystem::permissions(stub / "xdg-open", std::filesystem::perms::owner_all);
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (stub.string() + ":" + oldPath).c_str(), 1);
    auto composer = std::make_shared<MessageComposeViewController>();
    composer->setRecipients({"10086"});
    composer->setBody("周末一起去爬山");
    app_.window()->topViewController()->presentModalViewController(composer, false);
    composer->send();
    ::setenv("PATH", oldPath.c_str(), 1);
    for (int i = 0; i < 200 && !std::filesystem::exists(stub / "xdg-open.ran"); ++i) {
        host_->pumpOnce(10);
    }
    EXPECT_TRUE(std::filesystem::exists(stub / "xdg-open.ran"));
    std::filesystem::remove_all(stub);
    ASSERT_FALSE(Application::shared().openedUrls().empty());
    EXPECT_EQ(Application::shared().openedUrls().back(),
              "sms:10086?body=%E5%91%A8%E6%9C%AB%E4%B8%80%E8%B5%B7%E5%8E%BB%E7%88%AC%E5%B1%B1");
    EXPECT_EQ(ComposeViewController::presentedComposer(), nullptr);
}

#else

TEST(WindowTest, NeedsSdl) {
    GTEST_SKIP() << "built without SDL2";
}

#endif

}  // namespace
}  // namespace zorlet::test
