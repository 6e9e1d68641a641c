#pragma once

#include "platform/MainLoop.h"
#include "ui/AffineTransform.h"
#include "ui/AnimationCurve.h"
#include "ui/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zorlet {

class View;

// Runs view animations on the main loop's clock. As in the phone framework a
// view's properties take their new values at once (layout, hit testing and
// screen logic see where things end up); the animator keeps what moves on
// screen, which the renderer asks for. Under virtual time an animation moves
// only when the clock is advanced. Main loop thread only.
class Animator {
public:
    using Completion = std::function<void(bool finished)>;
    enum class Property { Frame, Alpha, Transform };

    static Animator& shared();

    // Records the frame, alpha and transform changes `changes` makes and moves
    // each from what is on screen to its new value over `duration` seconds.
    // `completion` runs on a later turn of the loop when all have ended: with
    // true, or with false when a later animation or a direct change of one of
    // the properties took over, or the animation was cancelled. A duration of
    // zero (or nothing changed) shows the new values at once.
    void animate(double duration, AnimationCurve curve, const std::function<void()>& changes,
                 Completion completion = {});

    // An animation (or its completion) is still pending.
    bool isAnimating() const { return !groups_.empty(); }
    bool isAnimating(const View& view) const;
    std::size_t animationCount() const { return groups_.size(); }

    // What the screen shows of the view now.
    Rect presentationFrame(const View& view) const;
    double presentationAlpha(const View& view) const;
    AffineTransform presentationTransform(const View& view) const;

    // Ends the view's animations where they were going; their completions get false.
    void cancelAnimations(const View& view);

    // Called by a view before one of its animatable properties changes.
    void viewWillChange(View& view, Property property);

    // Test support: drops every animation and completion without calling it.
    void reset();

private:
    struct Values {
        Rect frame;
        double alpha = 1;
        AffineTransform transform;
    };
    struct Track {
        std::weak_ptr<View> view;
        const View* key = nullptr;
        Property property = Property::Frame;
        Values from;
        Values to;
        std::uint64_t group = 0;
    };
    struct Group {
        std::uint64_t id = 0;
        Duration start{0};
        Duration duration{0};
        AnimationCurve curve = AnimationCurve::EaseInOut;
        Completion completion;
        bool interrupted = false;
    };
    struct Change {
        std::weak_ptr<View> view;
        const View* key = nullptr;
        Property property = Property::Frame;
        Values from;
    };

    static Values current(const View& view);
    static bool same(const Values& a, const Values& b, Property property);
    const Track* trackFor(const View& view, Property property) const;
    Group* group(std::uint64_t id);
    // What is on screen of one property of the view: its track's value now, else the view's own.
    Values presented(const View& view, Property property) const;
    double progress(const Track& track) const;
    // Drops the view's track of `property`; its animation completes with false.
    void interrupt(const View* key, Property property);
    void endGroupsWithoutTracks();
    void tick();
    void schedule();

    std::vector<Group> groups_;
    std::vector<Track> tracks_;
    std::vector<std::vector<Change>> recordings_;
    std::uint64_t nextGroup_ = 1;
    TimerId timer_ = 0;
};

}  // namespace zorlet
