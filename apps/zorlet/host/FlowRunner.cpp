#include "host/FlowRunner.h"

#include "host/AppHost.h"
#include "host/FlowDeviceCommands.h"
#include "host/ScreenGestures.h"
#include "host/ScreenQuery.h"
#include "platform/Image.h"
#include "platform/MainLoop.h"
#include "platform/PushNotifications.h"
#include "platform/Reachability.h"
#include "ui/AlertRegistry.h"
#include "ui/Animator.h"
#include "ui/Control.h"
#include "ui/ImagePickerController.h"
#include "ui/Keyboard.h"
#include "ui/Renderer.h"
#include "ui/TableView.h"
#include "ui/UserInput.h"
#include "ui/UserLocationSource.h"
#include "ui/ViewTreeDump.h"
#include "ui/Window.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <ostream>
#include <system_error>

namespace zorlet {

namespace {

constexpr int kDefaultEraseCount = 50;
constexpr Duration kAnimationStep{100};
constexpr Duration kClockChunk{1000};

// "160,240" in points or "50%,50%" of the screen.
std::optional<Point> parsePoint(const std::string& text, Size screen) {
    auto comma = text.find(',');
    if (comma == std::string::npos) {
        return std::nullopt;
    }
    auto coordinate = [](std::string part, double extent) -> std::optional<double> {
        part.erase(0, part.find_first_not_of(' '));
        part.erase(part.find_last_not_of(' ') + 1);
        bool percent = !part.empty() && part.back() == '%';
        if (percent) {
            part.pop_back();
        }
        double value = 0;
        auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || ec != std::errc() || ptr != part.data() + part.size()) {
            return std::nullopt;
        }
        return percent ? extent * value / 100 : value;
    };
    auto x = coordinate(text.substr(0, comma), screen.width);
    auto y = coordinate(text.substr(comma + 1), screen.height);
    if (!x || !y || *x < 0 || *y < 0 || *x > screen.width || *y > screen.height) {
        return std::nullopt;
    }
    return Point{*x, *y};
}

std::string describeTarget(const Json& arguments) {
    std::string target = arguments.contains("id")
                             ? "id " + arguments["id"].get<std::string>()
                             : "text " + ViewTreeDump::quoted(arguments.value("text", ""));
    if (arguments.contains("id") && arguments.contains("text")) {
        target += " showing " + ViewTreeDump::quoted(arguments["text"].get<std::string>());
    }
    if (arguments.contains("enabled")) {
        target += arguments["enabled"].get<bool>() ? " (enabled)" : " (disabled)";
    }
    return target;
}

}  // namespace

FlowRunner::FlowRunner(AppHost& app, std::ostream& out) : app_(app), out_(out) {}

std::string FlowRunner::screenDump() const {
    Window* window = app_.window();
    return window != nullptr ? ViewTreeDump::dumpScreen(*window) : "(the app is not running)\n";
}

std::filesystem::path FlowRunner::resolve(const std::filesystem::path& folder,
                                          const std::string& path) const {
    std::filesystem::path given(path);
    return given.is_absolute() ? given : folder / given;
}

FlowRunner::Result FlowRunner::run(const Flow& flow) {
    Result result;
    flowFolder_ = flow.folder.empty() ? std::filesystem::current_path() : flow.folder;
    if (screenshotFolder_.empty()) {
        screenshotFolder_ = std::filesystem::current_path();
    }
    out_ << "flow " << (flow.name.empty() ? "(unnamed)" : flow.name) << ": " << flow.commands.size()
         << " steps\n";
    int total = static_cast<int>(flow.commands.size());
    for (int i = 0; i < total; ++i) {
        const FlowCommand& command = flow.commands[static_cast<std::size_t>(i)];
        out_ << "[" << i + 1 << "/" << total << "] " << command.summary() << std::flush;
        std::string error;
        bool ok = runCommand(command, error);
        result.stepsRun = i + 1;
        if (ok) {
            out_ << "  ok\n";
            if (observer_) {
                observer_(command);
            }
            continue;
        }
        if (command.optional) {
            out_ << "  skipped (" << error << ")\n";
            continue;
        }
        out_ << "  FAILED\n";
        result.passed = false;
        result.failedStep = i + 1;
        result.message = "line " + std::to_string(command.line) + ": " + command.name + ": " + error;
        result.screenDump = screenDump();
        out_ << "failure: " << result.message << "\nscreen:\n" << result.screenDump << std::flush;
        return result;
    }
    out_ << "flow passed\n" << std::flush;
    return result;
}

bool FlowRunner::runCommand(const FlowCommand& command, std::string& error) {
    const std::string& name = command.name;
    const Json& arguments = command.arguments;
    if (name == "launchApp") {
        if (!app_.launch(arguments.value("clearState", false), arguments.value("skipGuidance", false))) {
            error = "the app did not finish launching";
            return false;
        }
        return true;
    }
    if (app_.window() == nullptr) {
        error = "the app is not running (launchApp first)";
        return false;
    }
    bool ok = false;
    if (name == "tapOn") {
        ok = tapOn(arguments, error);
    } else if (name == "inputText") {
        ok = UserInput::typeText(arguments["text"].get<std::string>());
        if (!ok) {
            error = "no input has the focus";
        }
    } else if (name == "eraseText") {
        if (Keyboard::shared().firstResponder() == nullptr) {
            error = "no input has the focus";
            return false;
        }
        auto count = arguments.value("charactersToErase", static_cast<long long>(kDefaultEraseCount));
        for (long long i = 0; i < count; ++i) {
            UserInput::deleteBackward();
        }
        ok = true;
    } else if (name == "assertVisible" || name == "assertNotVisible") {
        return assertVisible(arguments, name == "assertVisible", error);
    } else if (name == "back") {
        ok = ScreenGestures(*app_.window()).back(error);
    } else if (name == "hideKeyboard") {
        Keyboard::shared().endEditing();
        ok = true;
    } else if (name == "scroll") {
        Size screen = app_.window()->frame().size;
        ok = ScreenGestures(*app_.window())
                 .swipe({screen.width / 2, screen.height * 0.7}, {screen.width / 2, screen.height * 0.3},
                        error);
    } else if (name == "swipe") {
        ok = swipe(arguments, error);
    } else if (name == "takeScreenshot") {
        return takeScreenshot(arguments["path"].get<std::string>(), error);
    } else if (name == "waitForAnimationToEnd") {
        return waitForAnimationToEnd(Duration(arguments.value("timeout", 3000LL)));
    } else if (name == "advanceClock") {
        double seconds = arguments["seconds"].get<double>();
        if (seconds < 0) {
            error = "time only moves forward";
            return false;
        }
        if (!MainLoop::main().clock().isVirtual()) {
            error = "the clock is real in this mode";
            return false;
        }
        return advanceClock(Duration(static_cast<long long>(seconds * 1000)));
    } else if (name == "setNetwork") {
        Reachability::shared().setNetworkAvailable(arguments["on"].get<bool>());
        ok = true;
    } else if (name == "setLocation") {
        double latitude = arguments["latitude"].get<double>();
        double longitude = arguments["longitude"].get<double>();
        if (latitude < -90 || latitude > 90 || longitude < -180 || longitude > 180) {
            error = "no such place";
            return false;
        }
        UserLocationSource::shared().setLocation({latitude, longitude});
        ok = true;
    } else if (name == "deliverPush") {
        ok = deliverPush(arguments);
    } else if (name == "pickImage") {
        ok = pickImage(arguments["file"].get<std::string>(), error);
    } else if (name == "answerAlert") {
        ok = answerAlert(arguments["button"].get<std::string>(), error);
    } else if (name == "pressKey") {
        std::string key = arguments["key"].get<std::string>();
        if (key == "Enter" || key == "enter" || key == "Return") {
            ok = UserInput::pressReturn();
        } else if (key == "Backspace" || key == "backspace" || key == "Delete") {
            ok = UserInput::deleteBackward();
        } else if (key == "Back" || key == "back") {
            ok = ScreenGestures(*app_.window()).back(error);
        } else {
            error = "unknown key " + key + " (Enter, Backspace, Back)";
            return false;
        }
        if (!ok && error.empty()) {
            error = "no input has the focus";
        }
    } else if (name == "dumpScreen") {
        return dumpScreen(arguments, error);
    } else if (FlowDeviceCommands::handles(name)) {
        return FlowDeviceCommands(app_).run(command, error);
    } else {
        error = "unknown command";
        return false;
    }
    app_.settle();
    return ok;
}

bool FlowRunner::tapOn(const Json& arguments, std::string& error) {
    Window& window = *app_.window();
    ScreenGestures actions(window);
    if (arguments.contains("point")) {
        auto point = parsePoint(arguments["point"].get<std::string>(), window.frame().size);
        if (!point) {
            error = "point must be \"x,y\" in points or \"x%,y%\" inside the screen";
            return false;
        }
        return actions.tapAt(*point, error);
    }
    ScreenQuery query(window);
    std::vector<ScreenMatch> matches = arguments.contains("id")
                                           ? query.findId(arguments["id"].get<std::string>())
                                           : query.findText(arguments["text"].get<std::string>());
    if (arguments.contains("text") && arguments.contains("id")) {
        // Both given: the view with the id must also show the text.
        std::string text = arguments["text"].get<std::string>();
        std::erase_if(matches, [&](const ScreenMatch& m) { return !ScreenQuery::textMatches(m.text, text); });
    }
    if (matches.empty()) {
        error = "nothing with " + describeTarget(arguments) + " on screen";
        return false;
    }
    if (arguments.contains("index")) {
        long long index = arguments["index"].get<long long>();
        // A table with an index: the row at that position, counted over all sections.
        if (auto* table = dynamic_cast<TableView*>(matches.front().view); table && arguments.contains("id")) {
            long long remaining = index;
            for (int section = 0; section < table->numberOfSections(); ++section) {
                int rows = table->numberOfRows(section);
                if (remaining < rows) {
                    if (!UserInput::tapRow(*table, IndexPath{section, static_cast<int>(remaining)})) {
                        error = "row " + std::to_string(index) + " did not take the tap";
                        return false;
                    }
                    return true;
                }
                remaining -= rows;
            }
            error = "the table has no row " + std::to_string(index);
            return false;
        }
        if (index < 0 || index >= static_cast<long long>(matches.size())) {
            error = std::to_string(matches.size()) + " views with " + describeTarget(arguments) +
                    ", no index " + std::to_string(index);
            return false;
        }
        return actions.tap(matches[static_cast<std::size_t>(index)], error);
    }
    return actions.tap(matches.front(), error);
}

bool FlowRunner::assertVisible(const Json& arguments, bool visible, std::string& error) {
    ScreenQuery query(*app_.window());
    std::vector<ScreenMatch> matches = arguments.contains("id")
                                           ? query.findId(arguments["id"].get<std::string>())
                                           : query.findText(arguments["text"].get<std::string>());
    if (arguments.contains("text") && arguments.contains("id")) {
        std::string text = arguments["text"].get<std::string>();
        std::erase_if(matches, [&](const ScreenMatch& m) { return !ScreenQuery::textMatches(m.text, text); });
    }
    if (arguments.contains("enabled")) {
        // Only controls have a state to check: a button the user can (or can no longer) press.
        bool enabled = arguments["enabled"].get<bool>();
        std::erase_if(matches, [&](const ScreenMatch& m) {
            const auto* control = dynamic_cast<const Control*>(m.view);
            return control == nullptr || control->isEnabled() != enabled;
        });
    }
    std::size_t needed = static_cast<std::size_t>(arguments.value("index", 0LL)) + 1;
    if (visible && matches.size() < needed) {
        error = describeTarget(arguments) + " is not visible";
        return false;
    }
    if (!visible && !matches.empty()) {
        error = describeTarget(arguments) + " is visible: " + matches.front().describe();
        return false;
    }
    return true;
}

bool FlowRunner::swipe(const Json& arguments, std::string& error) {
    Size screen = app_.window()->frame().size;
    Point start;
    Point end;
    if (arguments.contains("direction")) {
        std::string direction = arguments["direction"].get<std::string>();
        std::transform(direction.begin(), direction.end(), direction.begin(), ::toupper);
        double cx = screen.width / 2;
        double cy = screen.height / 2;
        if (direction == "UP") {
            start = {cx, screen.height * 0.7};
            end = {cx, screen.height * 0.3};
        } else if (direction == "DOWN") {
            start = {cx, screen.height * 0.3};
            end = {cx, screen.height * 0.7};
        } else if (direction == "LEFT") {
            start = {screen.width * 0.9, cy};
            end = {screen.width * 0.1, cy};
        } else if (direction == "RIGHT") {
            start = {screen.width * 0.1, cy};
            end = {screen.width * 0.9, cy};
        } else {
            error = "direction is UP, DOWN, LEFT or RIGHT";
            return false;
        }
    } else {
        auto from = parsePoint(arguments["start"].get<std::string>(), screen);
        auto to = parsePoint(arguments["end"].get<std::string>(), screen);
        if (!from || !to) {
            error = "start and end must be \"x,y\" in points or \"x%,y%\" inside the screen";
            return false;
        }
        start = *from;
        end = *to;
    }
    return ScreenGestures(*app_.window()).swipe(start, end, error);
}

bool FlowRunner::takeScreenshot(const std::string& path, std::string& error) {
    std::filesystem::path file = resolve(screenshotFolder_, path);
    if (file.extension() != ".png") {
        file += ".png";
    }
    std::error_code fileError;
    std::filesystem::create_directories(file.parent_path(), fileError);
    if (!Renderer::writeWindowPng(*app_.window(), file.string())) {
        error = "cannot write " + file.string();
        return false;
    }
    out_ << "  -> " << file.string();
    return true;
}

bool FlowRunner::waitForAnimationToEnd(Duration timeout) {
    // Virtual time moves in small steps until two pictures of the screen in a
    // row agree, no view is still moving and no progress indicator is left to fade.
    std::string before = screenDump();
    for (Duration waited{0}; waited < timeout; waited += kAnimationStep) {
        MainLoop::main().advance(kAnimationStep);
        app_.settle();
        std::string after = screenDump();
        if (after == before && !Animator::shared().isAnimating() &&
            (app_.window() == nullptr || !ScreenQuery(*app_.window()).showsProgress())) {
            return true;
        }
        before = std::move(after);
    }
    return true;
}

bool FlowRunner::advanceClock(Duration delta) {
    // In chunks, so requests started by timers are answered in between as they would be in real time.
    MainLoop& loop = MainLoop::main();
    while (delta > Duration(0)) {
        Duration step = std::min(delta, kClockChunk);
        loop.advance(step);
        delta -= step;
        if (!AppHost::isIdle()) {
            app_.settle();
        }
    }
    app_.settle();
    return true;
}

bool FlowRunner::deliverPush(const Json& arguments) {
    Json payload = arguments.contains("payload") ? arguments["payload"]
                                                 : Json{{"aps", {{"alert", "你有新的消息"}, {"badge", 1}}}};
    PushNotifications::shared().deliverRemoteNotification(std::move(payload));
    return true;
}

bool FlowRunner::pickImage(const std::string& file, std::string& error) {
    std::filesystem::path path = resolve(flowFolder_, file);
    ImagePtr image = Image::fromFile(path.string());
    if (!image) {
        error = path.string() + " is not a picture that can be read";
        return false;
    }
    ImagePickerController* picker = ImagePickerController::visiblePicker();
    if (picker == nullptr) {
        error = "no image picker is shown";
        return false;
    }
    return picker->pick(image, &error);
}

bool FlowRunner::answerAlert(const std::string& button, std::string& error) {
    AlertRegistry& registry = AlertRegistry::shared();
    if (AlertView* alert = registry.topAlert()) {
        for (int i = 0; i < alert->numberOfButtons(); ++i) {
            if (ScreenQuery::textMatches(alert->buttonTitle(i), button)) {
                return registry.answerAlert(i);
            }
        }
        error = "the alert " + ViewTreeDump::quoted(alert->title()) + " has no button " +
                ViewTreeDump::quoted(button);
        return false;
    }
    if (ActionSheet* sheet = registry.topSheet()) {
        for (int i = 0; i < sheet->numberOfButtons(); ++i) {
            if (ScreenQuery::textMatches(sheet->buttonTitle(i), button)) {
                return registry.answerSheet(i);
            }
        }
        error = "the sheet has no button " + ViewTreeDump::quoted(button);
        return false;
    }
    error = "no alert is shown";
    return false;
}

bool FlowRunner::dumpScreen(const Json& arguments, std::string& error) {
    std::string dump = screenDump();
    if (!arguments.contains("path")) {
        out_ << "\n" << dump;
        return true;
    }
    std::filesystem::path file = resolve(screenshotFolder_, arguments["path"].get<std::string>());
    std::error_code fileError;
    std::filesystem::create_directories(file.parent_path(), fileError);
    std::ofstream stream(file, std::ios::binary);
    stream << dump;
    if (!stream) {
        error = "cannot write " + file.string();
        return false;
    }
    out_ << "  -> " << file.string();
    return true;
}

}  // namespace zorlet
