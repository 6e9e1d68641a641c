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
        Status step = runCommand(command);
        result.stepsRun = i + 1;
        if (step) {
            out_ << "  ok\n";
            if (observer_) {
                observer_(command);
            }
            continue;
        }
        if (command.optional) {
            out_ << "  skipped (" << step.error() << ")\n";
            continue;
        }
        out_ << "  FAILED\n";
        result.passed = false;
        result.failedStep = i + 1;
        result.message = "line " + std::to_string(command.line) + ": " + command.name + ": " + step.error();
        result.screenDump = screenDump();
        out_ << "failure: " << result.message << "\nscreen:\n" << result.screenDump << std::flush;
        return result;
    }
    out_ << "flow passed\n" << std::flush;
    return result;
}

Status FlowRunner::runCommand(const FlowCommand& command) {
    const std::string& name = command.name;
    const Json& arguments = command.arguments;
    if (name == "launchApp") {
        if (!app_.launch(arguments.value("clearState", false), arguments.value("skipGuidance", false))) {
            return Failure{"the app did not finish launching"};
        }
        return {};
    }
    if (app_.window() == nullptr) {
        return Failure{"the app is not running (launchApp first)"};
    }
    // Steps that act on the app let it settle afterwards, whether they worked or not.
    Status done;
    if (name == "tapOn") {
        done = tapOn(arguments);
    } else if (name == "inputText") {
        if (!UserInput::typeText(arguments["text"].get<std::string>())) {
            done = Failure{"no input has the focus"};
        }
    } else if (name == "eraseText") {
        if (Keyboard::shared().firstResponder() == nullptr) {
            return Failure{"no input has the focus"};
        }
        auto count = arguments.value("charactersToErase", static_cast<long long>(kDefaultEraseCount));
        for (long long i = 0; i < count; ++i) {
            UserInput::deleteBackward();
        }
    } else if (name == "assertVisible" || name == "assertNotVisible") {
        return assertVisible(arguments, name == "assertVisible");
    } else if (name == "back") {
        done = ScreenGestures(*app_.window()).back();
    } else if (name == "hideKeyboard") {
        Keyboard::shared().endEditing();
    } else if (name == "scroll") {
        Size screen = app_.window()->frame().size;
        done = ScreenGestures(*app_.window())
                   .swipe({screen.width / 2, screen.height * 0.7}, {screen.width / 2, screen.height * 0.3});
    } else if (name == "swipe") {
        done = swipe(arguments);
    } else if (name == "takeScreenshot") {
        return takeScreenshot(arguments["path"].get<std::string>());
    } else if (name == "waitForAnimationToEnd") {
        waitForAnimationToEnd(Duration(arguments.value("timeout", 3000LL)));
        return {};
    } else if (name == "advanceClock") {
        double seconds = arguments["seconds"].get<double>();
        if (seconds < 0) {
            return Failure{"time only moves forward"};
        }
        if (!MainLoop::main().clock().isVirtual()) {
            return Failure{"the clock is real in this mode"};
        }
        advanceClock(Duration(static_cast<long long>(seconds * 1000)));
        return {};
    } else if (name == "setNetwork") {
        Reachability::shared().setNetworkAvailable(arguments["on"].get<bool>());
    } else if (name == "setLocation") {
        double latitude = arguments["latitude"].get<double>();
        double longitude = arguments["longitude"].get<double>();
        if (latitude < -90 || latitude > 90 || longitude < -180 || longitude > 180) {
            return Failure{"no such place"};
        }
        UserLocationSource::shared().setLocation({latitude, longitude});
    } else if (name == "deliverPush") {
        deliverPush(arguments);
    } else if (name == "pickImage") {
        done = pickImage(arguments["file"].get<std::string>());
    } else if (name == "answerAlert") {
        done = answerAlert(arguments["button"].get<std::string>());
    } else if (name == "pressKey") {
        std::string key = arguments["key"].get<std::string>();
        if (key == "Enter" || key == "enter" || key == "Return") {
            if (!UserInput::pressReturn()) {
                done = Failure{"no input has the focus"};
            }
        } else if (key == "Backspace" || key == "backspace" || key == "Delete") {
            if (!UserInput::deleteBackward()) {
                done = Failure{"no input has the focus"};
            }
        } else if (key == "Back" || key == "back") {
            done = ScreenGestures(*app_.window()).back();
        } else {
            return Failure{"unknown key " + key + " (Enter, Backspace, Back)"};
        }
    } else if (name == "dumpScreen") {
        return dumpScreen(arguments);
    } else if (FlowDeviceCommands::handles(name)) {
        return FlowDeviceCommands(app_).run(command);
    } else {
        return Failure{"unknown command"};
    }
    app_.settle();
    return done;
}

Status FlowRunner::tapOn(const Json& arguments) {
    Window& window = *app_.window();
    ScreenGestures actions(window);
    if (arguments.contains("point")) {
        auto point = parsePoint(arguments["point"].get<std::string>(), window.frame().size);
        if (!point) {
            return Failure{"point must be \"x,y\" in points or \"x%,y%\" inside the screen"};
        }
        return actions.tapAt(*point);
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
        return Failure{"nothing with " + describeTarget(arguments) + " on screen"};
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
                        return Failure{"row " + std::to_string(index) + " did not take the tap"};
                    }
                    return {};
                }
                remaining -= rows;
            }
            return Failure{"the table has no row " + std::to_string(index)};
        }
        if (index < 0 || index >= static_cast<long long>(matches.size())) {
            return Failure{std::to_string(matches.size()) + " views with " + describeTarget(arguments) +
                           ", no index " + std::to_string(index)};
        }
        return actions.tap(matches[static_cast<std::size_t>(index)]);
    }
    return actions.tap(matches.front());
}

Status FlowRunner::assertVisible(const Json& arguments, bool visible) {
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
        return Failure{describeTarget(arguments) + " is not visible"};
    }
    if (!visible && !matches.empty()) {
        return Failure{describeTarget(arguments) + " is visible: " + matches.front().describe()};
    }
    return {};
}

Status FlowRunner::swipe(const Json& arguments) {
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
            return Failure{"direction is UP, DOWN, LEFT or RIGHT"};
        }
    } else {
        auto from = parsePoint(arguments["start"].get<std::string>(), screen);
        auto to = parsePoint(arguments["end"].get<std::string>(), screen);
        if (!from || !to) {
            return Failure{"start and end must be \"x,y\" in points or \"x%,y%\" inside the screen"};
        }
        start = *from;
        end = *to;
    }
    return ScreenGestures(*app_.window()).swipe(start, end);
}

Status FlowRunner::takeScreenshot(const std::string& path) {
    std::filesystem::path file = resolve(screenshotFolder_, path);
    if (file.extension() != ".png") {
        file += ".png";
    }
    std::error_code fileError;
    std::filesystem::create_directories(file.parent_path(), fileError);
    if (!Renderer::writeWindowPng(*app_.window(), file.string())) {
        return Failure{"cannot write " + file.string()};
    }
    out_ << "  -> " << file.string();
    return {};
}

void FlowRunner::waitForAnimationToEnd(Duration timeout) {
    // Virtual time moves in small steps until two pictures of the screen in a
    // row agree, no view is still moving and no progress indicator is left to fade.
    std::string before = screenDump();
    for (Duration waited{0}; waited < timeout; waited += kAnimationStep) {
        MainLoop::main().advance(kAnimationStep);
        app_.settle();
        std::string after = screenDump();
        if (after == before && !Animator::shared().isAnimating() &&
            (app_.window() == nullptr || !ScreenQuery(*app_.window()).showsProgress())) {
            return;
        }
        before = std::move(after);
    }
}

void FlowRunner::advanceClock(Duration delta) {
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
}

void FlowRunner::deliverPush(const Json& arguments) {
    Json payload = arguments.contains("payload") ? arguments["payload"]
                                                 : Json{{"aps", {{"alert", "你有新的消息"}, {"badge", 1}}}};
    PushNotifications::shared().deliverRemoteNotification(std::move(payload));
}

Status FlowRunner::pickImage(const std::string& file) {
    std::filesystem::path path = resolve(flowFolder_, file);
    ImagePtr image = Image::fromFile(path.string());
    if (!image) {
        return Failure{path.string() + " is not a picture that can be read"};
    }
    ImagePickerController* picker = ImagePickerController::visiblePicker();
    if (picker == nullptr) {
        return Failure{"no image picker is shown"};
    }
    return picker->pick(image);
}

Status FlowRunner::answerAlert(const std::string& button) {
    AlertRegistry& registry = AlertRegistry::shared();
    if (AlertView* alert = registry.topAlert()) {
        for (int i = 0; i < alert->numberOfButtons(); ++i) {
            if (ScreenQuery::textMatches(alert->buttonTitle(i), button)) {
                if (!registry.answerAlert(i)) {
                    return Failure{"the alert no longer takes button " + std::to_string(i)};
                }
                return {};
            }
        }
        return Failure{"the alert " + ViewTreeDump::quoted(alert->title()) + " has no button " +
                       ViewTreeDump::quoted(button)};
    }
    if (ActionSheet* sheet = registry.topSheet()) {
        for (int i = 0; i < sheet->numberOfButtons(); ++i) {
            if (ScreenQuery::textMatches(sheet->buttonTitle(i), button)) {
                if (!registry.answerSheet(i)) {
                    return Failure{"the sheet no longer takes button " + std::to_string(i)};
                }
                return {};
            }
        }
        return Failure{"the sheet has no button " + ViewTreeDump::quoted(button)};
    }
    return Failure{"no alert is shown"};
}

Status FlowRunner::dumpScreen(const Json& arguments) {
    std::string dump = screenDump();
    if (!arguments.contains("path")) {
        out_ << "\n" << dump;
        return {};
    }
    std::filesystem::path file = resolve(screenshotFolder_, arguments["path"].get<std::string>());
    std::error_code fileError;
    std::filesystem::create_directories(file.parent_path(), fileError);
    std::ofstream stream(file, std::ios::binary);
    stream << dump;
    if (!stream) {
        return Failure{"cannot write " + file.string()};
    }
    out_ << "  -> " << file.string();
    return {};
}

}  // namespace zorlet
