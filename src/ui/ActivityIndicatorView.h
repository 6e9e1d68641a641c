#pragma once

#include "ui/View.h"

namespace zorlet {

// The spinning wheel that says "working on it".
class ActivityIndicatorView : public View {
public:
    explicit ActivityIndicatorView(Rect frame = Rect(0, 0, 20, 20));
    const char* typeName() const override { return "ActivityIndicatorView"; }

    bool isAnimating() const { return animating_; }
    void startAnimating();
    void stopAnimating();
    // Hidden whenever it is not spinning, as lists want it.
    void setHidesWhenStopped(bool hides);

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    bool animating_ = false;
    bool hidesWhenStopped_ = true;
};

}  // namespace zorlet
