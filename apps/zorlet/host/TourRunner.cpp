#include "host/TourRunner.h"

#include "host/AppHost.h"
#include "host/FlowRunner.h"
#include "host/ScreenQuery.h"
#include "ui/MissingImageRegistry.h"
#include "ui/Renderer.h"
#include "ui/Window.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <system_error>

namespace zorlet {

namespace {

std::string escapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

const char* TourRunner::builtInFlowText() {
    // Tabs are tapped by point: the bar is the bottom 49 points, four tabs of 80.
    return R"(name: tour
---
- launchApp: {clearState: true}
- swipe: {direction: LEFT, optional: true}
- swipe: {direction: LEFT, optional: true}
- swipe: {direction: LEFT, optional: true}
- tapOn: {id: finish, optional: true}
- launchApp: {skipGuidance: true}
- tapOn: {id: goRegister, optional: true}
- back: {optional: true}
- tapOn: {id: goLogin, optional: true}
- tapOn: {id: nameField, optional: true}
- inputText: {text: "${DEMO_EMAIL}", optional: true}
- tapOn: {id: pwdField, optional: true}
- inputText: {text: "${DEMO_PASSWORD}", optional: true}
- hideKeyboard
- tapOn: {id: login, optional: true}
- waitForAnimationToEnd
- tapOn: {point: "120,455", optional: true}
- waitForAnimationToEnd
- tapOn: {id: categoryButton, optional: true}
- tapOn: {text: 美食, optional: true}
- waitForAnimationToEnd
- tapOn: {id: tableView, index: 0, optional: true}
- waitForAnimationToEnd
- tapOn: {id: usersButton, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- tapOn: {id: placeRow, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- tapOn: {id: shareButton, optional: true}
- tapOn: {text: 分享到邮件, optional: true}
- waitForAnimationToEnd
- tapOn: {id: cancel, optional: true}
- tapOn: {id: shareButton, optional: true}
- tapOn: {text: 分享到新浪微博, optional: true}
- waitForAnimationToEnd
- tapOn: {id: backButton, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- waitForAnimationToEnd
- tapOn: {point: "200,455", optional: true}
- waitForAnimationToEnd
- tapOn: {text: 小鹿乱撞, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- waitForAnimationToEnd
- tapOn: {point: "280,455", optional: true}
- waitForAnimationToEnd
- tapOn: {id: invite, optional: true}
- waitForAnimationToEnd
- tapOn: {text: 通过新浪微博邀请, optional: true}
- waitForAnimationToEnd
- hideKeyboard
- tapOn: {id: back, optional: true}
- waitForAnimationToEnd
- tapOn: {text: "我的关注.*", optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- waitForAnimationToEnd
- tapOn: {id: editor, optional: true}
- waitForAnimationToEnd
- tapOn: {text: Zorlet偏好, optional: true}
- waitForAnimationToEnd
- tapOn: {text: 你通常什么时候有空, optional: true}
- waitForAnimationToEnd
- tapOn: {id: docancel, optional: true}
- tapOn: {text: 你喜欢怎么出去玩, optional: true}
- waitForAnimationToEnd
- tapOn: {text: 补充说明, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- back: {optional: true}
- tapOn: {text: 最想去的地方, optional: true}
- waitForAnimationToEnd
- hideKeyboard
- back: {optional: true}
- back: {optional: true}
- back: {optional: true}
- waitForAnimationToEnd
- tapOn: {id: configButton, optional: true}
- waitForAnimationToEnd
- tapOn: {text: 隐私设置, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- waitForAnimationToEnd
- tapOn: {text: 黑名单, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- waitForAnimationToEnd
- tapOn: {text: 意见反馈, optional: true}
- waitForAnimationToEnd
- hideKeyboard
- back: {optional: true}
- waitForAnimationToEnd
- swipe: {direction: UP, optional: true}
- tapOn: {text: 用户协议, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- waitForAnimationToEnd
- tapOn: {point: "40,455", optional: true}
- waitForAnimationToEnd
- tapOn: {id: commentButton, optional: true}
- waitForAnimationToEnd
- hideKeyboard
- tapOn: {id: interestView, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- waitForAnimationToEnd
- tapOn: {id: logoView, optional: true}
- waitForAnimationToEnd
- tapOn: {id: postListButton, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- waitForAnimationToEnd
- tapOn: {id: dateButton, optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- waitForAnimationToEnd
- back: {optional: true}
- back: {optional: true}
- waitForAnimationToEnd
- tapOn: {id: goToExternalCategoryList, optional: true}
- waitForAnimationToEnd
- tapOn: {id: goToSendPost, optional: true}
- waitForAnimationToEnd
- tapOn: {id: textView, optional: true}
- inputText: {text: 周末一起去爬香山, optional: true}
- tapOn: {id: sendPost, optional: true}
- waitForAnimationToEnd: {timeout: 10000}
- advanceClock: 3
- waitForAnimationToEnd
- tapOn: {id: close, optional: true}
- waitForAnimationToEnd
- tapOn: {id: goToExternalCategoryList, optional: true}
- waitForAnimationToEnd
- tapOn: {text: 展览演出, optional: true}
- waitForAnimationToEnd
- tapOn: {id: tableView, index: 0, optional: true}
- waitForAnimationToEnd
- tapOn: {id: sharePlaceButton, optional: true}
- waitForAnimationToEnd
)";
}

TourRunner::TourRunner(AppHost& app, std::ostream& out, FlowParser::Variables variables)
    : app_(app), out_(out), variables_(std::move(variables)) {}

Status TourRunner::run(const std::filesystem::path& folder) {
    std::error_code fileError;
    std::filesystem::create_directories(folder, fileError);
    if (fileError) {
        return Failure{"cannot create " + folder.string() + ": " + fileError.message()};
    }
    auto flow = FlowParser::parseText(builtInFlowText(), variables_);
    if (!flow) {
        return Failure{flow.error()};
    }
    stops_.clear();
    // The first picture that cannot be written stops the pictures, not the walk.
    Status written;
    FlowRunner runner(app_, out_);
    runner.setScreenshotFolder(folder);
    runner.setStepObserver([&](const FlowCommand& command) {
        if (written) {
            written = capture(folder, command.summary());
        }
    });
    runner.run(*flow);
    if (!written) {
        return written;
    }
    if (auto index = writeIndex(folder); !index) {
        return index;
    }
    std::string standIns;
    for (const Stop& stop : stops_) {
        for (const std::string& name : stop.standIns) {
            standIns += (standIns.empty() ? "" : ", ") + stop.file + " draws no artwork for \"" + name + "\"";
        }
    }
    if (!standIns.empty()) {
        return Failure{standIns};
    }
    out_ << "tour: " << stops_.size() << " screens in " << (folder / "index.html").string() << "\n"
         << std::flush;
    return {};
}

Status TourRunner::capture(const std::filesystem::path& folder, const std::string& step) {
    Window* window = app_.window();
    if (window == nullptr) {
        return {};
    }
    std::string screen = ScreenQuery(*window).screenName();
    bool seen =
        std::any_of(stops_.begin(), stops_.end(), [&](const Stop& stop) { return stop.screen == screen; });
    if (seen) {
        return {};  // coming back to a screen makes no second picture
    }
    char number[8];
    std::snprintf(number, sizeof number, "%02zu", stops_.size() + 1);
    std::string name = screen;
    for (char& c : name) {
        if (c == '+') {
            c = '-';
        }
    }
    std::string file = std::string(number) + "-" + name + ".png";
    MissingImageRegistry& missing = MissingImageRegistry::shared();
    missing.clearDrawn();
    if (!Renderer::writeWindowPng(*window, (folder / file).string())) {
        return Failure{"cannot write " + (folder / file).string()};
    }
    stops_.push_back({file, screen, step, missing.drawn()});
    return {};
}

Status TourRunner::writeIndex(const std::filesystem::path& folder) const {
    std::ofstream html(folder / "index.html", std::ios::binary | std::ios::trunc);
    html << "<!DOCTYPE html>\n<html lang=\"zh\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<title>Zorlet tour</title>\n<style>\n"
            "body { font-family: sans-serif; background: #eee; margin: 16px; }\n"
            ".screens { display: flex; flex-wrap: wrap; gap: 16px; }\n"
            "figure { margin: 0; background: #fff; padding: 8px; border-radius: 8px; width: 320px; }\n"
            "img { width: 320px; height: 480px; display: block; border: 1px solid #ccc; }\n"
            "figcaption { font-size: 12px; margin-top: 6px; word-break: break-all; }\n"
            "</style>\n</head>\n<body>\n<h1>Zorlet tour</h1>\n<div class=\"screens\">\n";
    for (std::size_t i = 0; i < stops_.size(); ++i) {
        const Stop& stop = stops_[i];
        html << "<figure><img src=\"" << escapeHtml(stop.file) << "\" alt=\"" << escapeHtml(stop.screen)
             << "\"><figcaption><b>" << i + 1 << ". " << escapeHtml(stop.screen) << "</b><br>after "
             << escapeHtml(stop.step) << "</figcaption></figure>\n";
    }
    html << "</div>\n</body>\n</html>\n";
    if (!html) {
        return Failure{"cannot write " + (folder / "index.html").string()};
    }
    return {};
}

}  // namespace zorlet
