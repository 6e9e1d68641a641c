#pragma once

#include "profile/DetailEditorViewController.h"

#include <memory>
#include <string>

namespace zorlet {

// Edits the self-introduction: at most 70 characters; an empty one clears it.
class FeatureEditorViewController : public DetailEditorViewController {
public:
    FeatureEditorViewController(const std::shared_ptr<SettingViewController>& settingViewController,
                                std::string textValue);
    std::string className() const override { return "FeatureEditorViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void save() override;

    const std::string cellIdentifier = "FeatureCell";
    std::string textValue;
    std::shared_ptr<TextView> featureTextView;

protected:
    TextInput* focusInput() override { return featureTextView.get(); }
};

}  // namespace zorlet
