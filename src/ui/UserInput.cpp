#include "ui/UserInput.h"

#include "ui/AlertRegistry.h"
#include "ui/BarButtonItem.h"
#include "ui/DatePicker.h"
#include "ui/GestureRecognizer.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"
#include "ui/PickerView.h"
#include "ui/ScrollView.h"
#include "ui/SegmentedControl.h"
#include "ui/Switch.h"
#include "ui/TabBarController.h"
#include "ui/TableView.h"
#include "ui/TextInput.h"
#include "ui/Window.h"

#include <vector>

namespace zorlet {

bool UserInput::dispatchTap(View& start, Point pointInStart) {
    // Hold every view on the way up: a handler may take its own view off screen.
    std::vector<ViewPtr> held;
    std::vector<View*> chain;
    for (View* v = &start; v != nullptr; v = v->superview()) {
        if (auto strong = v->weak_from_this().lock()) {
            held.push_back(std::move(strong));
        }
        chain.push_back(v);
    }
    Point inWindow = start.convertToWindow(pointInStart);
    for (View* v : chain) {
        Point local = v->convertFromWindow(inWindow);
        if (v->handleTap(local)) {
            return true;
        }
    }
    return false;
}

bool UserInput::tap(View& view) {
    if (view.isHidden() || !view.isUserInteractionEnabled()) {
        return false;
    }
    Point center{view.boundsOrigin().x + view.frame().width() / 2,
                 view.boundsOrigin().y + view.frame().height() / 2};
    Window* window = view.window();
    if (window == nullptr) {
        return dispatchTap(view, center);
    }
    if (!view.isVisibleInWindow()) {
        return false;
    }
    Point inWindow = view.convertToWindow(center);
    View* hit = window->hitTest(inWindow);
    if (hit == nullptr || !(hit == &view || hit->isDescendantOf(&view))) {
        return false;  // something else lies over it
    }
    return dispatchTap(*hit, hit->convertFromWindow(inWindow));
}

bool UserInput::tapAt(Window& window, Point point) {
    View* hit = window.hitTest(point);
    if (hit == nullptr) {
        return false;
    }
    return dispatchTap(*hit, hit->convertFromWindow(point));
}

bool UserInput::typeText(const std::string& text) {
    TextInput* input = Keyboard::shared().firstResponder();
    if (input == nullptr) {
        return false;
    }
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = 1;
        while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) {
            ++length;
        }
        // Typing may move the focus (return in a form); keep to the input that has it.
        input = Keyboard::shared().firstResponder();
        if (input == nullptr) {
            return false;
        }
        input->insertText(text.substr(i, length));
        i += length;
    }
    return true;
}

bool UserInput::pasteText(const std::string& text) {
    TextInput* input = Keyboard::shared().firstResponder();
    if (input == nullptr) {
        return false;
    }
    input->insertText(text);
    return true;
}

bool UserInput::deleteBackward() {
    TextInput* input = Keyboard::shared().firstResponder();
    if (input == nullptr) {
        return false;
    }
    input->deleteBackward();
    return true;
}

bool UserInput::pressReturn() {
    TextInput* input = Keyboard::shared().firstResponder();
    if (input == nullptr) {
        return false;
    }
    input->pressReturn();
    return true;
}

bool UserInput::answerAlert(int buttonIndex) {
    return AlertRegistry::shared().answerAlert(buttonIndex);
}

bool UserInput::answerSheet(int buttonIndex) {
    return AlertRegistry::shared().answerSheet(buttonIndex);
}

bool UserInput::pickRow(PickerView& picker, int row, int component) {
    if (component < 0 || component >= picker.numberOfComponents() || row < 0 ||
        row >= picker.numberOfRows(component)) {
        return false;
    }
    picker.pickRow(row, component);
    return true;
}

bool UserInput::pickDate(DatePicker& picker, SystemTime date) {
    if (!picker.isEnabled()) {
        return false;
    }
    picker.pickDate(date);
    return true;
}

bool UserInput::toggleSwitch(Switch& control) {
    if (!control.isEnabled()) {
        return false;
    }
    return control.handleTap({control.frame().width() / 2, control.frame().height() / 2});
}

bool UserInput::chooseSegment(SegmentedControl& control, int index) {
    if (!control.isEnabled() || index < 0 || index >= static_cast<int>(control.numberOfSegments())) {
        return false;
    }
    control.chooseSegment(index);
    return true;
}

bool UserInput::selectTab(TabBarController& tabs, int index) {
    if (index < 0 || index >= static_cast<int>(tabs.viewControllers().size())) {
        return false;
    }
    tabs.userSelectTab(index);
    return true;
}

bool UserInput::tapBackButton(NavigationController& navigation) {
    Button* back = navigation.navigationBar().backButton();
    if (back == nullptr || navigation.navigationBar().isHidden()) {
        return false;
    }
    auto held = navigation.weak_from_this().lock();
    return back->handleTap({back->frame().width() / 2, back->frame().height() / 2});
}

bool UserInput::tapBarButton(BarButtonItem& item) {
    if (!item.isEnabled()) {
        return false;
    }
    if (item.customView()) {
        return tap(*item.customView());
    }
    item.trigger();
    return true;
}

bool UserInput::tapRow(TableView& table, IndexPath indexPath) {
    if (indexPath.section < 0 || indexPath.section >= table.numberOfSections() || indexPath.row < 0 ||
        indexPath.row >= table.numberOfRows(indexPath.section)) {
        return false;
    }
    table.scrollToRow(indexPath, TableViewScrollPosition::None, false);
    TableViewCell* cell = table.cellForRow(indexPath);
    if (cell == nullptr) {
        table.userSelectRow(indexPath);
        return true;
    }
    if (table.window() != nullptr) {
        return tap(*cell);
    }
    return dispatchTap(*cell, {cell->frame().width() / 2, cell->frame().height() / 2});
}

bool UserInput::deleteRow(TableView& table, IndexPath indexPath) {
    return table.userCommitEditing(indexPath);
}

void UserInput::pullDown(ScrollView& scrollView, double distance) {
    scrollView.beginDragging();
    Point offset = scrollView.contentOffset();
    scrollView.dragTo({offset.x, scrollView.minContentOffset().y - distance});
    scrollView.endDragging();
}

void UserInput::scroll(ScrollView& scrollView, Point delta) {
    scrollView.beginDragging();
    Point offset = scrollView.contentOffset();
    scrollView.dragTo({offset.x + delta.x, offset.y + delta.y});
    scrollView.endDragging();
}

bool UserInput::pan(View& view, Point translation) {
    bool recognized = false;
    Point start{view.frame().width() / 2, view.frame().height() / 2};
    auto held = view.weak_from_this().lock();
    for (auto& recognizer : std::vector<GestureRecognizerPtr>(view.gestureRecognizers())) {
        if (recognizer->kind() == GestureRecognizer::Kind::Pan && recognizer->isEnabled()) {
            recognizer->recognizePan(start, translation);
            recognized = true;
        }
    }
    return recognized;
}

}  // namespace zorlet
