#include "profile/SettingViewController.h"

#include "app/CustomNavigationController.h"
#include "app/InterfaceDescription.h"
#include "app/ScreenActions.h"
#include "model/BaseData.h"
#include "model/EmptyText.h"
#include "model/ImageHelpers.h"
#include "model/JpegSizeLimit.h"
#include "model/User.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/Calendar.h"
#include "platform/HttpRequest.h"
#include "platform/MainLoop.h"
#include "platform/WeakSelf.h"
#include "platform/WebImageLoader.h"
#include "profile/FeatureEditorViewController.h"
#include "profile/NicknameEditorViewController.h"
#include "profile/ProfessionEditorViewController.h"
#include "session/UserContext.h"
#include "ui/ActionSheet.h"
#include "ui/ProgressHUD.h"
#include "widgets/CustomActionSheet.h"

#include <algorithm>
#include <cstdio>

namespace zorlet {

namespace {

constexpr Duration kSuccessShownFor{2000};

// The label holds "1990-3-5" when filled from the user and "1990-03-05" after
// a pick; both name the same day.
std::optional<SystemTime> birthdayShown(const std::string& text) {
    int year = 0;
    int month = 0;
    int day = 0;
    char tail = 0;
    if (isEmpty(text) || std::sscanf(text.c_str(), "%d-%d-%d%c", &year, &month, &day, &tail) != 3 ||
        month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    DateParts parts;
    parts.year = year;
    parts.month = month;
    parts.day = day;
    return Calendar::timeOf(parts);
}

SystemTime earliestBirthday() {
    DateParts parts;
    parts.year = 1949;
    parts.month = 1;
    parts.day = 1;
    return Calendar::timeOf(parts);
}

}  // namespace

SettingViewController::SettingViewController() = default;

SettingViewController::~SettingViewController() {
    if (logoLoad_) {
        WebImageLoader::shared().cancel(logoLoad_);
    }
}

void SettingViewController::loadView() {
    tableView = std::make_shared<TableView>(Rect(0, 0, kScreenWidth, 416), TableView::Style::Grouped);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    setView(tableView);
}

void SettingViewController::viewDidLoad() {
    cellDictionary_.clear();
    std::vector<ViewPtr> objects = InterfaceDescription::load("ProfileSettingForm");
    for (const auto& object : objects) {
        if (auto cell = std::dynamic_pointer_cast<TableViewCell>(object)) {
            cell->setSelectionStyle(TableViewCell::SelectionStyle::Blue);
            cellDictionary_[cell->reuseIdentifier()] = cell;
        }
    }
    auto label = [&](const char* id) {
        auto found = InterfaceDescription::find<Label>(objects, id);
        if (!found) {
            // A missing layout still leaves a working form.
            found = std::make_shared<Label>();
            found->setId(id);
        }
        return found;
    };
    nicknameLabel = label("nicknameLabel");
    genderLabel = label("genderLabel");
    birthLabel = label("birthLabel");
    locationLabel = label("locationLabel");
    professionLabel = label("professionLabel");
    featureLabel = label("featureLabel");
    featureLabel->setNumberOfLines(0);
    featureLabel->setLineBreakMode(LineBreakMode::CharacterWrap);
    logoImageView = InterfaceDescription::find<ImageView>(objects, "logoImageView");
    if (!logoImageView) {
        logoImageView = std::make_shared<ImageView>(Rect(0, 0, 44, 44));
        logoImageView->setId("logoImageView");
    }
    genderLabel->setTag(-1);

    saveButton_ = ScreenActions::barItem("保存", BarButtonItem::Style::Done, "save", this,
                                         &SettingViewController::save);
    saveButton_->setEnabled(false);

    datePicker_ = std::make_shared<DatePicker>(Rect(0, 0, kScreenWidth, kPickerHeight));
    datePicker_->setId("datePicker");
    datePicker_->setDatePickerMode(DatePicker::Mode::Date);
    datePicker_->setMinimumDate(earliestBirthday());

    locationPicker_ = std::make_shared<PickerView>(Rect(0, 0, kScreenWidth, kPickerHeight));
    locationPicker_->setId("locationPicker");
    locationPicker_->setShowsSelectionIndicator(true);
    locationPicker_->setDataSource(this);
    locationPicker_->setDelegate(this);
    provinceArray_ = BaseData::getProvinces();
    cityArray_.clear();
    if (!provinceArray_.empty()) {
        cityArray_ = BaseData::getCitiesWithProvinceId(provinceArray_.front()->provinceId);
    }

    tableView->setDataSource(this);
    tableView->setDelegate(this);
}

void SettingViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
    if (isDirty()) {
        // Coming back from an editor: the edits stay, and leaving asks again.
        needToBackAlert(true);
        return;
    }
    fillForm();
    sizeFeatureLabel();
    tableView->reloadData();
}

void SettingViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

bool SettingViewController::isDirty() const {
    return saveButton_ && saveButton_->isEnabled();
}

void SettingViewController::fillForm() {
    UserPtr user = UserContext::getUser();
    if (!user) {
        return;
    }
    loadLogo(user->rawLogo);
    if (isNotEmpty(user->nickname)) {
        nicknameLabel->setText(user->nickname);
    }
    genderLabel->setText(user->gender != 0 ? "男" : "女");
    genderLabel->setTag(user->gender != 0 ? 1 : 0);
    if (user->birthYear > 0) {
        char text[48];
        std::snprintf(text, sizeof text, "%d-%d-%d", static_cast<int>(user->birthYear),
                      static_cast<int>(user->birthMonth), static_cast<int>(user->birthDay));
        birthLabel->setText(text);
    }
    professionLabel->setTag(static_cast<int>(user->professionId));
    if (isNotEmpty(user->profession)) {
        professionLabel->setText(user->profession);
    }
    if (isNotEmpty(user->feature)) {
        featureLabel->setText(user->feature);
        featureLabel->setTag(1);
    } else {
        featureLabel->setText(kFeaturePlaceholder);
        featureLabel->setTag(0);
    }
    if (isNotEmpty(user->cityName)) {
        locationLabel->setText(user->cityName);
    }
    locationLabel->setTag(static_cast<int>(user->cityId));
}

void SettingViewController::sizeFeatureLabel() {
    Size fits = featureLabel->sizeThatFits(Size{kFeatureMaxWidth, kFeatureMaxHeight});
    Rect frame = featureLabel->frame();
    frame.size = Size{kFeatureMaxWidth, std::min(fits.height, kFeatureMaxHeight)};
    featureLabel->setFrame(frame);
    if (auto cell = cellForIdentifier("FeatureCell")) {
        Rect cellFrame = cell->frame();
        cellFrame.size.height = frame.height() + kFeatureRowExtra;
        cell->setFrame(cellFrame);
        cell->contentView().setFrame(Rect(Point{}, cellFrame.size));
    }
}

CustomNavigationController* SettingViewController::customNavigationController() const {
    return dynamic_cast<CustomNavigationController*>(navigationController());
}

bool SettingViewController::needToBackAlert(bool alert) {
    if (auto* navigation = customNavigationController()) {
        navigation->setPopAlert(alert);
    }
    return alert;
}

View* SettingViewController::hudHost() {
    if (NavigationController* navigation = navigationController()) {
        return &navigation->view();
    }
    return &view();
}

void SettingViewController::showMessage(const std::string& text) {
    MessageShow::error(text, &view());
}

TableViewCellPtr SettingViewController::cellForIdentifier(const std::string& identifier) const {
    auto it = cellDictionary_.find(identifier);
    return it != cellDictionary_.end() ? it->second : nullptr;
}

Label* SettingViewController::labelForIdentifier(const std::string& identifier) const {
    static const std::map<std::string, std::shared_ptr<Label> SettingViewController::*> labels = {
        {"NicknameCell", &SettingViewController::nicknameLabel},
        {"GenderCell", &SettingViewController::genderLabel},
        {"BirthCell", &SettingViewController::birthLabel},
        {"LocationCell", &SettingViewController::locationLabel},
        {"ProfessionCell", &SettingViewController::professionLabel},
        {"FeatureCell", &SettingViewController::featureLabel},
    };
    auto it = labels.find(identifier);
    return it != labels.end() ? (this->*(it->second)).get() : nullptr;
}

void SettingViewController::saveSingleInfo(const std::string& identifier, const std::string& text,
                                           std::int64_t valueId) {
    Label* label = labelForIdentifier(identifier);
    if (label == nullptr) {
        return;
    }
    // A cleared self-introduction shows the invitation again; its tag 0 keeps it out of the request.
    bool placeholder = identifier == "FeatureCell" && text.empty();
    label->setText(placeholder ? std::string(kFeaturePlaceholder) : text);
    label->setTag(static_cast<int>(valueId));
    if (identifier == "FeatureCell") {
        sizeFeatureLabel();
    }
    saveButton_->setEnabled(true);
    needToBackAlert(true);
    tableView->reloadData();
}

Json SettingViewController::getParams() const {
    Json params = Json::object();
    params["nickname"] = nicknameLabel->text();
    params["gender"] = genderLabel->tag();
    params["birth"] = birthLabel->text();
    params["professionId"] = professionLabel->tag();
    params["profession"] = professionLabel->text();
    params["cityId"] = locationLabel->tag();
    if (featureLabel->tag() == 1) {
        params["feature"] = featureLabel->text();
    }
    return params;
}

std::string SettingViewController::postNewLogo(const Image& logo) {
    return JpegSizeLimit::encode(logo, JpegSizeLimit::tenthStepQualities());
}

// Table

int SettingViewController::numberOfSections(TableView&) {
    return static_cast<int>(sectionRows().size());
}

int SettingViewController::numberOfRows(TableView&, int section) {
    auto rows = sectionRows();
    return section >= 0 && section < static_cast<int>(rows.size()) ? rows[section] : 0;
}

TableViewCellPtr SettingViewController::cellForRow(TableView&, IndexPath indexPath) {
    auto it = cellIdentifierDictionary_.find(indexPath.section * 10 + indexPath.row);
    if (it != cellIdentifierDictionary_.end()) {
        if (auto cell = cellForIdentifier(it->second)) {
            return cell;
        }
    }
    return std::make_shared<TableViewCell>();
}

double SettingViewController::heightForRow(TableView&, IndexPath indexPath) {
    auto it = cellIdentifierDictionary_.find(indexPath.section * 10 + indexPath.row);
    if (it == cellIdentifierDictionary_.end()) {
        return kRowHeight;
    }
    if (it->second == "LogoCell") {
        return kLogoRowHeight;
    }
    if (it->second == "FeatureCell") {
        return featureLabel->frame().height() + kFeatureRowExtra;
    }
    return kRowHeight;
}

void SettingViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    auto it = cellIdentifierDictionary_.find(indexPath.section * 10 + indexPath.row);
    if (it == cellIdentifierDictionary_.end()) {
        return;
    }
    const std::string& identifier = it->second;
    if (std::find(disableSelectCellIdentifiterArray_.begin(), disableSelectCellIdentifiterArray_.end(),
                  identifier) != disableSelectCellIdentifiterArray_.end()) {
        return;
    }
    if (identifier == "LogoCell") {
        selectLogo();
    } else if (identifier == "NicknameCell") {
        editNickname();
    } else if (identifier == "GenderCell") {
        selectGender();
    } else if (identifier == "BirthCell") {
        selectBirth();
    } else if (identifier == "LocationCell") {
        selectLocation();
    } else if (identifier == "ProfessionCell") {
        editProfession();
    } else if (identifier == "FeatureCell") {
        editFeature();
    }
}

// Row actions

void SettingViewController::selectLogo() {
    auto sheet = ActionSheet::create("上传头像", nullptr, "取消", "", {"用户相册", "拍照"});
    auto weak = weakSelf(this);
    sheet->setOnDismiss([weak, sheetPtr = sheet.get()](int index) {
        auto self = weak.lock();
        if (!self || index == sheetPtr->cancelButtonIndex() || index < 0 || index > 1) {
            return;
        }
        auto picker = std::make_shared<ImagePickerController>();
        // Without a camera "拍照" opens the photo library.
        picker->setSourceType(index == 1 ? ImagePickerController::SourceType::Camera
                                         : ImagePickerController::SourceType::PhotoLibrary);
        picker->setAllowsEditing(true);
        picker->setDelegate(self.get());
        self->presentModalViewController(picker, true);
    });
    sheet->showInView(&view());
}

void SettingViewController::imagePickerDidFinishPicking(ImagePickerController& picker, const ImagePtr&,
                                                        const ImagePtr& edited) {
    picker.dismissModalViewController(true);
    logoPicked(edited);
}

void SettingViewController::imagePickerDidCancel(ImagePickerController& picker) {
    picker.dismissModalViewController(true);
}

void SettingViewController::logoPicked(ImagePtr image) {
    if (!image) {
        return;
    }
    newLogo_ = std::move(image);
    showLogo(*newLogo_);
    saveButton_->setEnabled(true);
    needToBackAlert(true);
}

void SettingViewController::showLogo(const Image& image) {
    Size size = logoImageView->frame().size;
    ImagePtr scaled = imageByScalingAndCroppingForSize(image, size.width * 2, size.height * 2);
    if (scaled) {
        scaled->setScale(scaled->scale() * 2);
        logoImageView->setImage(ImageAsset::fromImage(scaled, "newLogo"));
    }
}

void SettingViewController::loadLogo(const std::string& url) {
    if (isEmpty(url) || url == loadedLogoUrl_) {
        return;
    }
    loadedLogoUrl_ = url;
    logoImageView->setImage(ImageAsset::named("face_loading"));
    if (logoLoad_) {
        WebImageLoader::shared().cancel(logoLoad_);
    }
    // Through the shared loader, so the form shares its caches and clearing them reaches it too.
    auto weak = weakSelf(this);
    logoLoad_ = WebImageLoader::shared().downloadWithURL(
        url,
        [weak, url](const ImagePtr& image) {
            auto self = weak.lock();
            if (!self) {
                return;
            }
            self->logoLoad_ = 0;
            if (!image || self->newLogo_) {
                return;
            }
            Size size = self->logoImageView->frame().size;
            ImagePtr scaled = imageByScalingAndCroppingForSize(*image, size.width * 2, size.height * 2);
            if (!scaled) {
                return;
            }
            ImagePtr rounded = createRoundedRectImage(*scaled, kLogoCornerRadius);
            rounded->setScale(rounded->scale() * 2);
            self->logoImageView->setImage(ImageAsset::fromImage(rounded, url));
        },
        [weak, url](const std::string&) {
            // Try again the next time the form appears.
            if (auto self = weak.lock()) {
                self->logoLoad_ = 0;
                if (self->loadedLogoUrl_ == url) {
                    self->loadedLogoUrl_.clear();
                }
            }
        });
}

void SettingViewController::selectGender() {
    auto sheet = ActionSheet::create("", nullptr, "取消", "", {"女", "男"});
    auto weak = weakSelf(this);
    sheet->setOnDismiss([weak](int index) {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        if (index == 0) {
            self->saveSingleInfo("GenderCell", "女", 0);
        } else if (index == 1) {
            self->saveSingleInfo("GenderCell", "男", 1);
        }
    });
    sheet->showInView(&view());
}

void SettingViewController::selectBirth() {
    std::shared_ptr<CustomActionSheetDelegate> delegate(shared_from_this(),
                                                        static_cast<CustomActionSheetDelegate*>(this));
    auto sheet = CustomActionSheet::create(kPickerHeight, "生日", delegate);
    SystemTime now = MainLoop::main().clock().now();
    datePicker_->setMaximumDate(now);
    datePicker_->setDate(birthdayShown(birthLabel->text()).value_or(now));
    sheet->view().addSubview(datePicker_);
    birthSheet_ = sheet;
    sheet->showInView(&view());
}

void SettingViewController::selectLocation() {
    if (!locationPickerHasLoaded_) {
        locationPickerHasLoaded_ = true;
        UserPtr user = UserContext::getUser();
        if (user && user->provinceId > 0) {
            int provinceIndex = BaseData::indexOfProvinces(user->provinceId);
            if (provinceIndex >= 0) {
                locationPicker_->selectRow(provinceIndex, 0);
                cityArray_ = BaseData::getCitiesWithProvinceId(user->provinceId);
                locationPicker_->reloadComponent(1);
                locationPicker_->selectRow(0, 1);
                if (user->cityId > 0) {
                    int cityIndex = BaseData::indexOfCities(user->cityId, user->provinceId);
                    if (cityIndex >= 0) {
                        locationPicker_->selectRow(cityIndex, 1);
                    }
                }
            }
        }
    }
    std::shared_ptr<CustomActionSheetDelegate> delegate(shared_from_this(),
                                                        static_cast<CustomActionSheetDelegate*>(this));
    auto sheet = CustomActionSheet::create(kPickerHeight, "所在地", delegate);
    sheet->view().addSubview(locationPicker_);
    locationSheet_ = sheet;
    sheet->showInView(&view());
}

void SettingViewController::done(CustomActionSheet& sheet) {
    if (&sheet == birthSheet_.lock().get()) {
        saveSingleInfo("BirthCell", Calendar::format(datePicker_->date(), "yyyy-MM-dd"), 0);
    } else if (&sheet == locationSheet_.lock().get()) {
        int row = locationPicker_->selectedRow(1);
        if (row >= 0 && row < static_cast<int>(cityArray_.size())) {
            const auto& city = cityArray_[row];
            saveSingleInfo("LocationCell", city->name, city->cityId);
        }
    }
}

int SettingViewController::numberOfRows(PickerView&, int component) {
    return static_cast<int>(component == 0 ? provinceArray_.size() : cityArray_.size());
}

std::string SettingViewController::titleForRow(PickerView&, int row, int component) {
    if (row < 0) {
        return {};
    }
    if (component == 0) {
        return row < static_cast<int>(provinceArray_.size()) ? provinceArray_[row]->name : std::string();
    }
    return row < static_cast<int>(cityArray_.size()) ? cityArray_[row]->name : std::string();
}

void SettingViewController::didSelectRow(PickerView& picker, int row, int component) {
    if (component != 0 || row < 0 || row >= static_cast<int>(provinceArray_.size())) {
        return;
    }
    cityArray_ = BaseData::getCitiesWithProvinceId(provinceArray_[row]->provinceId);
    picker.reloadComponent(1);
    picker.selectRow(0, 1);
}

double SettingViewController::widthForComponent(PickerView&, int component) {
    return component == 0 ? kProvinceColumnWidth : kCityColumnWidth;
}

void SettingViewController::editNickname() {
    if (NavigationController* navigation = navigationController()) {
        auto self = std::static_pointer_cast<SettingViewController>(shared_from_this());
        navigation->pushViewController(
            std::make_shared<NicknameEditorViewController>(self, nicknameLabel->text()), true);
    }
}

void SettingViewController::editProfession() {
    if (NavigationController* navigation = navigationController()) {
        auto self = std::static_pointer_cast<SettingViewController>(shared_from_this());
        navigation->pushViewController(std::make_shared<ProfessionEditorViewController>(
                                           self, professionLabel->tag(), professionLabel->text()),
                                       true);
    }
}

void SettingViewController::editFeature() {
    if (NavigationController* navigation = navigationController()) {
        auto self = std::static_pointer_cast<SettingViewController>(shared_from_this());
        std::string text = featureLabel->tag() == 1 ? featureLabel->text() : std::string();
        navigation->pushViewController(std::make_shared<FeatureEditorViewController>(self, text), true);
    }
}

// Saving

void SettingViewController::save() {
    if (!validateSave()) {
        return;
    }
    auto hud = ProgressHUD::showHUDAddedTo(hudHost(), true);
    hud->setDimBackground(true);
    hud->setLabelText("保存中...");
    hud->setRemoveFromSuperViewOnHide(true);
    auto weak = weakSelf(this);
    // The indicator shows before the request is built and the photo encoded.
    MainLoop::main().post([weak, hud] {
        if (auto self = weak.lock()) {
            self->doSave(hud);
        } else {
            hud->hide(true);
        }
    });
}

void SettingViewController::doSave(std::shared_ptr<ProgressHUD> hud) {
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri(postUrl()), getParams());
    if (!request) {
        hud->hide(true);
        return;
    }
    if (!newLogo_) {
        sendSave(request, hud, false);
        return;
    }
    // Encoding a camera-sized photo several times over takes a while: off the main loop.
    ImagePtr logo = newLogo_;
    auto data = std::make_shared<std::string>();
    auto weak = weakSelf(this);
    MainLoop::main().runInBackground([logo, data] { *data = postNewLogo(*logo); },
                                     [weak, request, hud, data] {
                                         auto self = weak.lock();
                                         if (!self) {
                                             hud->hide(true);
                                             return;
                                         }
                                         request->setData(std::move(*data), "logo.jpg", "image/jpeg", "logo");
                                         request->setTimeOutSeconds(kUploadTimeOutSeconds);
                                         self->sendSave(request, hud, true);
                                     });
}

void SettingViewController::sendSave(const std::shared_ptr<HttpRequest>& request,
                                     const std::shared_ptr<ProgressHUD>& hud, bool withLogo) {
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, hud->superview(), [weak, hud, withLogo](const Json& envelope) {
        if (auto self = weak.lock()) {
            self->saveFinished(envelope, hud, withLogo);
        } else {
            hud->hide(true);
        }
    });
}

void SettingViewController::saveFinished(const Json& envelope, const std::shared_ptr<ProgressHUD>& hud,
                                         bool withLogo) {
    if (isGuide()) {
        Analytics::event("userGuide");
    }
    if (withLogo) {
        Analytics::event("uploadLogo");
    }
    newLogo_.reset();
    saveButton_->setEnabled(false);
    needToBackAlert(false);
    UserPtr user = UserContext::getUser();
    const Json& result = jsonObject(envelope, "result");
    if (user && !result.empty()) {
        Json update = result;
        // An answer without the uid must not sign the user out.
        if (!jsonHas(update, "uid")) {
            update["uid"] = user->uid;
        }
        user->updateFromDictionary(update);
    }
    hud->setCustomView(std::make_shared<ImageView>(ImageAsset::named("37x-Checkmark")));
    hud->setMode(ProgressHUD::Mode::CustomView);
    hud->setLabelText("保存成功");
    hud->hide(true, kSuccessShownFor);
    auto weak = weakSelf(this);
    MainLoop::main().runAfter(kSuccessShownFor, [weak] {
        if (auto self = weak.lock()) {
            self->saveSuccess();
        }
    });
}

}  // namespace zorlet
