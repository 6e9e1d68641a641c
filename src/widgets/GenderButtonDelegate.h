#pragma once

namespace zorlet {

class GenderButton;
class View;

// The screen owning a gender filter button.
class GenderButtonDelegate {
public:
    virtual ~GenderButtonDelegate() = default;
    // Where the choice sheet is shown.
    virtual View* actionSheetShowInView() = 0;
    // The user chose a filter different from the current one; `gender` is the new tag.
    virtual void genderButton(GenderButton& button, int gender) = 0;
};

}  // namespace zorlet
