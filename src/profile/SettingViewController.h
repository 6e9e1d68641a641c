#pragma once

#include "platform/Image.h"
#include "platform/Json.h"
#include "ui/BarButtonItem.h"
#include "ui/DatePicker.h"
#include "ui/ImagePickerController.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/PickerView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"
#include "widgets/CustomActionSheetDelegate.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zorlet {

class City;
class CustomActionSheet;
class CustomNavigationController;
class HttpRequest;
class ProgressHUD;
class Province;

// The signed-in user's basic profile as one grouped form. Each row opens its
// own editor or picker; the edits stay in the form's labels (text and tag)
// until the user saves them all in one request. The profile form and the
// first-use guide are its two variants.
class SettingViewController : public ViewController,
                              public TableViewDataSource,
                              public TableViewDelegate,
                              public PickerViewDataSource,
                              public PickerViewDelegate,
                              public CustomActionSheetDelegate,
                              public ImagePickerControllerDelegate {
public:
    static constexpr const char* kFeaturePlaceholder = "一句话向大家介绍一下自己...";
    static constexpr double kLogoRowHeight = 60;
    static constexpr double kRowHeight = 44;
    static constexpr double kFeatureRowExtra = 50;
    static constexpr double kSectionFooterHeight = 5;
    static constexpr double kFeatureMaxWidth = 280;
    static constexpr double kFeatureMaxHeight = 640;
    static constexpr double kPickerHeight = 216;
    static constexpr double kProvinceColumnWidth = 90;
    static constexpr double kCityColumnWidth = 200;
    static constexpr double kLogoCornerRadius = 8;
    static constexpr double kUploadTimeOutSeconds = 120;

    SettingViewController();
    ~SettingViewController() override;

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // What the variants decide.
    virtual std::string postUrl() const = 0;
    // Checks the form before saving; tells the user what is missing.
    virtual bool validateSave() { return true; }
    // After a successful save has been shown.
    virtual void saveSuccess() {}

    // Records one edit: the row's label gets the text and id, the form becomes dirty.
    void saveSingleInfo(const std::string& identifier, const std::string& text, std::int64_t valueId);
    // The form's fields as the save request sends them.
    Json getParams() const;
    // The picked photo as the upload sends it: JPEG at the first quality whose
    // data is within the upload limit, or at the lowest quality.
    static std::string postNewLogo(const Image& logo);
    void save();
    void doSave(std::shared_ptr<ProgressHUD> hud);
    // True while there are unsaved edits; sets the navigation controller's leave question.
    bool needToBackAlert(bool alert);
    bool isDirty() const;

    // The form's labels, each holding a display text and the value's id in its tag.
    std::shared_ptr<Label> nicknameLabel;
    std::shared_ptr<Label> genderLabel;
    std::shared_ptr<Label> birthLabel;
    std::shared_ptr<Label> locationLabel;
    std::shared_ptr<Label> professionLabel;
    std::shared_ptr<Label> featureLabel;
    std::shared_ptr<ImageView> logoImageView;
    std::shared_ptr<TableView> tableView;

    const BarButtonItemPtr& saveButton() const { return saveButton_; }
    const ImagePtr& newLogo() const { return newLogo_; }
    const std::shared_ptr<DatePicker>& datePicker() const { return datePicker_; }
    const std::shared_ptr<PickerView>& locationPicker() const { return locationPicker_; }
    // The label showing the value of the row `identifier`, or null.
    Label* labelForIdentifier(const std::string& identifier) const;
    TableViewCellPtr cellForIdentifier(const std::string& identifier) const;

    // Row actions.
    void selectLogo();
    void selectGender();
    void selectBirth();
    void selectLocation();
    void editNickname();
    void editProfession();
    void editFeature();
    // The photo the picker handed back.
    void logoPicked(ImagePtr image);

    // ImagePickerControllerDelegate
    void imagePickerDidFinishPicking(ImagePickerController& picker, const ImagePtr& original,
                                     const ImagePtr& edited) override;
    void imagePickerDidCancel(ImagePickerController& picker) override;

    // TableViewDataSource / TableViewDelegate
    int numberOfSections(TableView&) override;
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView&, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    double heightForFooter(TableView&, int) override { return kSectionFooterHeight; }
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    // The location picker.
    int numberOfComponents(PickerView&) override { return 2; }
    int numberOfRows(PickerView&, int component) override;
    std::string titleForRow(PickerView&, int row, int component) override;
    void didSelectRow(PickerView&, int row, int component) override;
    double widthForComponent(PickerView&, int component) override;

    // The picker sheets' done button.
    void done(CustomActionSheet& sheet) override;

protected:
    // Rows per section, in order.
    virtual std::vector<int> sectionRows() const = 0;
    // Fills the labels from the signed-in user (the form is clean).
    virtual void fillForm();
    // Makes the feature label as tall as its text.
    void sizeFeatureLabel();
    CustomNavigationController* customNavigationController() const;
    // Where the progress indicators go: the navigation controller's view.
    View* hudHost();
    void showMessage(const std::string& text);

    std::map<std::string, TableViewCellPtr> cellDictionary_;
    std::map<int, std::string> cellIdentifierDictionary_;
    std::vector<std::string> disableSelectCellIdentifiterArray_;
    BarButtonItemPtr saveButton_;
    ImagePtr newLogo_;
    std::shared_ptr<DatePicker> datePicker_;
    std::shared_ptr<PickerView> locationPicker_;
    std::vector<std::shared_ptr<Province>> provinceArray_;
    std::vector<std::shared_ptr<City>> cityArray_;
    bool locationPickerHasLoaded_ = false;
    // Whether the save request in flight is the guide's (for the analytics event).
    virtual bool isGuide() const { return false; }

private:
    void loadLogo(const std::string& url);
    void showLogo(const Image& image);
    void sendSave(const std::shared_ptr<HttpRequest>& request, const std::shared_ptr<ProgressHUD>& hud,
                  bool withLogo);
    void saveFinished(const Json& envelope, const std::shared_ptr<ProgressHUD>& hud, bool withLogo);

    std::weak_ptr<CustomActionSheet> birthSheet_;
    std::weak_ptr<CustomActionSheet> locationSheet_;
    std::uint64_t logoLoad_ = 0;
    std::string loadedLogoUrl_;
};

}  // namespace zorlet
