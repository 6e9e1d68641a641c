#pragma once

#include "platform/MainLoop.h"
#include "ui/View.h"

#include <functional>
#include <memory>
#include <string>

namespace zorlet {

// A progress indicator over a view: a spinner (or a custom view such as a
// check mark) with a label, optionally dimming what is behind. It covers its
// host view and swallows taps while shown. Delays run on the main loop clock.
class ProgressHUD : public View {
public:
    enum class Mode { Indeterminate, CustomView, Text };

    explicit ProgressHUD(View* host);
    ~ProgressHUD() override;
    const char* typeName() const override { return "ProgressHUD"; }

    // Creates a HUD that removes itself when hidden, adds it to `host` and shows it.
    static std::shared_ptr<ProgressHUD> showHUDAddedTo(View* host, bool animated);
    // Hides (and removes) the top HUD on `host`; false when there is none.
    static bool hideHUDForView(View* host, bool animated);
    static ProgressHUD* HUDForView(View* host);

    Mode mode() const { return mode_; }
    void setMode(Mode mode) {
        mode_ = mode;
        positionCustomView();
    }
    const std::string& labelText() const { return labelText_; }
    void setLabelText(std::string text) { labelText_ = std::move(text); }
    const std::string& detailsLabelText() const { return detailsText_; }
    void setDetailsLabelText(std::string text) { detailsText_ = std::move(text); }
    const ViewPtr& customView() const { return customView_; }
    void setCustomView(ViewPtr view);
    bool dimBackground() const { return dimBackground_; }
    void setDimBackground(bool dim) { dimBackground_ = dim; }
    // Moves the box from the centre (negative is up).
    double yOffset() const { return yOffset_; }
    void setYOffset(double offset) { yOffset_ = offset; }
    void setRemoveFromSuperViewOnHide(bool remove) { removeOnHide_ = remove; }

    bool isShown() const { return shown_; }
    bool lastAnimated() const { return lastAnimated_; }
    void show(bool animated);
    void hide(bool animated);
    // Hides after `delay` on the main loop clock; a later show or hide cancels it.
    void hide(bool animated, Duration delay);
    // Shows, runs `work` on the worker pool, then (on the main loop) hides and runs `done`.
    void showWhileExecuting(std::function<void()> work, std::function<void()> done, bool animated);

    Rect boxFrame() const;
    // A shown HUD blocks the screen under it.
    bool handleTap(Point point) override { return true; }
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    void cancelPendingHide();
    // The custom view sits at the top of the box; it only shows in custom-view mode.
    void positionCustomView() const;
    void finishHide();

    Mode mode_ = Mode::Indeterminate;
    std::string labelText_;
    std::string detailsText_;
    ViewPtr customView_;
    bool dimBackground_ = false;
    double yOffset_ = 0;
    bool removeOnHide_ = false;
    bool shown_ = false;
    bool lastAnimated_ = false;
    TimerId hideTimer_ = 0;
};

}  // namespace zorlet
