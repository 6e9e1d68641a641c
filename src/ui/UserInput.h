#pragma once

#include "platform/Clock.h"
#include "ui/Geometry.h"
#include "ui/IndexPath.h"

#include <string>

namespace zorlet {

class BarButtonItem;
class DatePicker;
class NavigationController;
class PickerView;
class ScrollView;
class SegmentedControl;
class Switch;
class TabBarController;
class TableView;
class View;
class Window;

// Input as a finger and keyboard would deliver it, for front-ends and tests.
// Each returns false when the input could not be delivered (nothing there,
// covered, disabled, no focused input, no such button).
class UserInput {
public:
    // A tap at the centre of `view`. In a window the tap must reach the view
    // (not be covered by another one); the view or the nearest ancestor that
    // handles taps takes it.
    static bool tap(View& view);
    // A tap at a point of the window.
    static bool tapAt(Window& window, Point point);

    // Typing into the focused input, one character at a time.
    static bool typeText(const std::string& text);
    // One committed piece, as an input method hands over a whole word.
    static bool pasteText(const std::string& text);
    static bool deleteBackward();
    static bool pressReturn();

    static bool answerAlert(int buttonIndex);
    static bool answerSheet(int buttonIndex);

    static bool pickRow(PickerView& picker, int row, int component);
    static bool pickDate(DatePicker& picker, SystemTime date);
    static bool toggleSwitch(Switch& control);
    static bool chooseSegment(SegmentedControl& control, int index);
    static bool selectTab(TabBarController& tabs, int index);
    static bool tapBackButton(NavigationController& navigation);
    static bool tapBarButton(BarButtonItem& item);

    // A row tap: scrolls the row into view, then taps its cell.
    static bool tapRow(TableView& table, IndexPath indexPath);
    // Swipe and confirm delete on a row.
    static bool deleteRow(TableView& table, IndexPath indexPath);

    // Drags the content down by `distance` past its top and lets go.
    static void pullDown(ScrollView& scrollView, double distance);
    // Drags the content by `delta` (positive y scrolls towards the end) and lets go.
    static void scroll(ScrollView& scrollView, Point delta);
    // A pan of `translation` starting at the centre of `view`; runs its pan recognizers.
    static bool pan(View& view, Point translation);

private:
    static bool dispatchTap(View& start, Point pointInStart);
};

}  // namespace zorlet
