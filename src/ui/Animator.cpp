#include "ui/Animator.h"

#include "ui/View.h"

#include <algorithm>
#include <cmath>

namespace zorlet {

namespace {

double mix(double from, double to, double progress) {
    return from + (to - from) * progress;
}

Duration now() {
    return MainLoop::main().clock().uptime();
}

}  // namespace

Animator& Animator::shared() {
    static Animator animator;
    return animator;
}

Animator::Values Animator::current(const View& view) {
    return {view.frame(), view.alpha(), view.transform()};
}

bool Animator::same(const Values& a, const Values& b, Property property) {
    switch (property) {
        case Property::Frame:
            return a.frame == b.frame;
        case Property::Alpha:
            return a.alpha == b.alpha;
        case Property::Transform:
            return a.transform == b.transform;
    }
    return true;
}

void Animator::animate(double duration, AnimationCurve curve, const std::function<void()>& changes,
                       Completion completion) {
    recordings_.emplace_back();
    if (changes) {
        changes();
    }
    if (recordings_.empty()) {
        return;  // reset while recording
    }
    std::vector<Change> recorded = std::move(recordings_.back());
    recordings_.pop_back();

    Group added;
    added.id = nextGroup_++;
    added.start = now();
    // Millisecond resolution is the clock's; anything shorter shows at once.
    added.duration =
        std::isfinite(duration) && duration > 0 ? Duration(std::llround(duration * 1000)) : Duration(0);
    added.curve = curve;
    added.completion = std::move(completion);
    bool moves = false;
    for (const Change& change : recorded) {
        auto view = change.view.lock();
        if (!view) {
            continue;
        }
        // The new values take over from whatever was moving this property.
        interrupt(change.key, change.property);
        Values to = current(*view);
        if (added.duration > Duration(0) && !same(change.from, to, change.property)) {
            tracks_.push_back({change.view, change.key, change.property, change.from, to, added.id});
            moves = true;
        }
    }
    if (!moves) {
        added.duration = Duration(0);
    }
    groups_.push_back(std::move(added));
    endGroupsWithoutTracks();
    schedule();
}

void Animator::viewWillChange(View& view, Property property) {
    if (!recordings_.empty()) {
        auto& recording = recordings_.back();
        bool known = std::any_of(recording.begin(), recording.end(), [&](const Change& change) {
            return change.key == &view && change.property == property;
        });
        std::weak_ptr<View> weak = view.weak_from_this();
        // A view no shared_ptr owns cannot be followed over time; it changes at once.
        if (!known && !weak.expired()) {
            recording.push_back({weak, &view, property, presented(view, property)});
        }
        return;
    }
    if (trackFor(view, property) != nullptr) {
        interrupt(&view, property);
        endGroupsWithoutTracks();
        schedule();
    }
}

const Animator::Track* Animator::trackFor(const View& view, Property property) const {
    for (const Track& track : tracks_) {
        if (track.key == &view && track.property == property && track.view.lock().get() == &view) {
            return &track;
        }
    }
    return nullptr;
}

Animator::Group* Animator::group(std::uint64_t id) {
    for (Group& g : groups_) {
        if (g.id == id) {
            return &g;
        }
    }
    return nullptr;
}

double Animator::progress(const Track& track) const {
    for (const Group& g : groups_) {
        if (g.id == track.group) {
            if (g.duration <= Duration(0)) {
                return 1;
            }
            double t =
                static_cast<double>((now() - g.start).count()) / static_cast<double>(g.duration.count());
            return animationProgress(g.curve, t);
        }
    }
    return 1;
}

Animator::Values Animator::presented(const View& view, Property property) const {
    Values values = current(view);
    const Track* track = trackFor(view, property);
    if (track == nullptr) {
        return values;
    }
    double p = progress(*track);
    switch (property) {
        case Property::Frame: {
            const Rect& a = track->from.frame;
            const Rect& b = track->to.frame;
            values.frame = Rect(mix(a.x(), b.x(), p), mix(a.y(), b.y(), p), mix(a.width(), b.width(), p),
                                mix(a.height(), b.height(), p));
            break;
        }
        case Property::Alpha:
            values.alpha = std::clamp(mix(track->from.alpha, track->to.alpha, p), 0.0, 1.0);
            break;
        case Property::Transform:
            values.transform = AffineTransform::interpolate(track->from.transform, track->to.transform, p);
            break;
    }
    return values;
}

bool Animator::isAnimating(const View& view) const {
    return trackFor(view, Property::Frame) != nullptr || trackFor(view, Property::Alpha) != nullptr ||
           trackFor(view, Property::Transform) != nullptr;
}

Rect Animator::presentationFrame(const View& view) const {
    return tracks_.empty() ? view.frame() : presented(view, Property::Frame).frame;
}

double Animator::presentationAlpha(const View& view) const {
    return tracks_.empty() ? view.alpha() : presented(view, Property::Alpha).alpha;
}

AffineTransform Animator::presentationTransform(const View& view) const {
    return tracks_.empty() ? view.transform() : presented(view, Property::Transform).transform;
}

void Animator::cancelAnimations(const View& view) {
    for (Property property : {Property::Frame, Property::Alpha, Property::Transform}) {
        interrupt(&view, property);
    }
    endGroupsWithoutTracks();
    schedule();
}

void Animator::interrupt(const View* key, Property property) {
    auto it = std::find_if(tracks_.begin(), tracks_.end(), [&](const Track& track) {
        return track.key == key && track.property == property && track.view.lock().get() == key;
    });
    if (it == tracks_.end()) {
        return;
    }
    if (Group* owner = group(it->group)) {
        owner->interrupted = true;
    }
    tracks_.erase(it);
}

void Animator::endGroupsWithoutTracks() {
    Duration at = now();
    for (Group& g : groups_) {
        bool hasTracks = std::any_of(tracks_.begin(), tracks_.end(),
                                     [&](const Track& track) { return track.group == g.id; });
        if (!hasTracks && g.start + g.duration > at) {
            g.duration = at - g.start;
        }
    }
}

void Animator::tick() {
    timer_ = 0;
    Duration at = now();
    std::vector<Group> ended;
    auto due = [at](const Group& g) { return g.start + g.duration <= at; };
    for (const Group& g : groups_) {
        if (due(g)) {
            ended.push_back(g);
        }
    }
    std::erase_if(groups_, due);
    std::erase_if(tracks_, [&](const Track& track) {
        return std::any_of(ended.begin(), ended.end(), [&](const Group& g) { return g.id == track.group; });
    });
    // Completions may start new animations; the ended ones are already out of the way.
    for (Group& g : ended) {
        if (g.completion) {
            g.completion(!g.interrupted);
        }
    }
    schedule();
}

void Animator::schedule() {
    MainLoop& loop = MainLoop::main();
    if (timer_ != 0 && loop.isScheduled(timer_)) {
        loop.cancel(timer_);
    }
    timer_ = 0;
    if (groups_.empty()) {
        return;
    }
    Duration end = groups_.front().start + groups_.front().duration;
    for (const Group& g : groups_) {
        end = std::min(end, g.start + g.duration);
    }
    timer_ = loop.runAfter(std::max(Duration(0), end - now()), [this] { tick(); });
}

void Animator::reset() {
    MainLoop& loop = MainLoop::main();
    if (timer_ != 0 && loop.isScheduled(timer_)) {
        loop.cancel(timer_);
    }
    timer_ = 0;
    groups_.clear();
    tracks_.clear();
    recordings_.clear();
}

}  // namespace zorlet
