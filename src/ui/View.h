#pragma once

#include "ui/AffineTransform.h"
#include "ui/AnimationCurve.h"
#include "ui/Color.h"
#include "ui/Geometry.h"
#include "ui/ImageAsset.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorlet {

class GestureRecognizer;
class Painter;
class View;
class Window;

using ViewPtr = std::shared_ptr<View>;
using GestureRecognizerPtr = std::shared_ptr<GestureRecognizer>;

// A rectangle of the retained view tree. A view owns its subviews; its
// superview is a plain back pointer. Frames are in the superview's bounds
// coordinates, whose origin a scroll view moves with its content offset.
class View : public std::enable_shared_from_this<View> {
public:
    // How a view follows its superview's size changes; combine with |.
    enum Autoresizing : unsigned {
        None = 0,
        FlexibleLeftMargin = 1u << 0,
        FlexibleWidth = 1u << 1,
        FlexibleRightMargin = 1u << 2,
        FlexibleTopMargin = 1u << 3,
        FlexibleHeight = 1u << 4,
        FlexibleBottomMargin = 1u << 5,
        FlexibleSize = FlexibleWidth | FlexibleHeight,
    };

    View();
    explicit View(Rect frame);
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // The name shown in text dumps.
    virtual const char* typeName() const { return "View"; }

    const Rect& frame() const { return frame_; }
    virtual void setFrame(const Rect& frame);
    Rect bounds() const { return Rect(boundsOrigin(), frame_.size); }
    Point center() const { return {frame_.midX(), frame_.midY()}; }
    void setCenter(Point center);
    // Where the visible part of the content starts; moves with a scroll view's offset.
    virtual Point boundsOrigin() const { return {}; }

    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);
    // Applied about the frame's centre when drawn; the frame, hit testing and
    // layout ignore it, as in the phone framework.
    const AffineTransform& transform() const { return transform_; }
    void setTransform(const AffineTransform& transform);

    // Frame, alpha and transform changes made by `changes` move from what is
    // on screen to their new values over `duration` seconds of the main loop's
    // clock. The properties hold the new values at once; the renderer shows
    // the moving ones (see Animator). `completion` gets false when a later
    // change took over before the end.
    static void animate(double duration, AnimationCurve curve, const std::function<void()>& changes,
                        std::function<void(bool finished)> completion = {});
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // The name automation finds the view by (flows, tests); empty when none.
    const std::string& id() const { return id_; }
    void setId(std::string id) { id_ = std::move(id); }
    const Color& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const Color& color) { backgroundColor_ = color; }
    // Drawn stretched over the bounds, above the background colour.
    const ImageAssetPtr& backgroundImage() const { return backgroundImage_; }
    void setBackgroundImage(ImageAssetPtr image) { backgroundImage_ = std::move(image); }
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips) { clipsToBounds_ = clips; }
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius) { cornerRadius_ = radius; }

    // Tree. Adding a view that has a superview moves it.
    View* superview() const { return superview_; }
    const std::vector<ViewPtr>& subviews() const { return subviews_; }
    void addSubview(ViewPtr view);
    void insertSubview(ViewPtr view, std::size_t index);
    // A sibling that is not a subview puts the view at the bottom (below) or top (above).
    void insertSubviewBelow(ViewPtr view, const View* sibling);
    void insertSubviewAbove(ViewPtr view, const View* sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const View* view);
    void sendSubviewToBack(const View* view);
    // This view or the first descendant (depth first, in subview order) with the tag.
    View* viewWithTag(int tag);
    bool isDescendantOf(const View* ancestor) const;
    // The window at the root of this view's tree, if any.
    Window* window() const;
    // Shown on screen: in a window, and neither it nor an ancestor is hidden.
    bool isVisibleInWindow() const;

    // Coordinates: points in this view's bounds coordinates.
    Point convertToWindow(Point local) const;
    Point convertFromWindow(Point windowPoint) const;
    Point convertPoint(Point local, const View* target) const;
    Rect convertRect(const Rect& local, const View* target) const;

    // The deepest visible, interactive view under `point` (in bounds coordinates).
    virtual View* hitTest(Point point);

    virtual void layoutSubviews() {}
    virtual Size sizeThatFits(Size limit) const { return frame_.size; }
    void sizeToFit();

    // Gesture hooks.
    void addGestureRecognizer(GestureRecognizerPtr recognizer);
    void removeGestureRecognizer(const GestureRecognizer* recognizer);
    const std::vector<GestureRecognizerPtr>& gestureRecognizers() const { return gestureRecognizers_; }

    // A tap that ended on this view at `point`; true when handled, otherwise the
    // tap goes on to the superview. The default runs the view's tap recognizers.
    virtual bool handleTap(Point point);

    // Draws this view's own content in its frame's coordinates (0,0 top-left);
    // background and subviews are drawn by the renderer.
    virtual void draw(Painter& painter) const {}
    // Appends " key=value" facts about the view's state for text dumps.
    virtual void describe(std::string& out) const {}

protected:
    virtual void didMoveToSuperview() {}
    // The tree under this view changed window; focus and keyboard follow.
    virtual void didMoveToWindow() {}

private:
    void attach(ViewPtr view, std::size_t index);
    void detachChild(const View* view);
    void notifyWindowChange(Window* oldWindow);
    void resizeSubviews(Size oldSize);

    Rect frame_;
    bool hidden_ = false;
    double alpha_ = 1;
    AffineTransform transform_;
    int tag_ = 0;
    std::string id_;
    Color backgroundColor_ = Color::clearColor();
    ImageAssetPtr backgroundImage_;
    bool userInteractionEnabled_ = true;
    unsigned autoresizingMask_ = None;
    bool clipsToBounds_ = false;
    double cornerRadius_ = 0;
    View* superview_ = nullptr;
    std::vector<ViewPtr> subviews_;
    std::vector<GestureRecognizerPtr> gestureRecognizers_;
};

}  // namespace zorlet
