// Every picture name the app can ask for has artwork under resources/images:
// the names written in the code and the interface files, and the families the
// code composes from tables and numbers.

#include "app/TabBarLayout.h"
#include "messaging/DialogContentListCell.h"
#include "model/DialogContent.h"
#include "session/ExternalProvider.h"
#include "ui/ImageAsset.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace zorlet {
namespace {

const std::filesystem::path kResources = ZORLET_RESOURCES_DIR;
const std::filesystem::path kSourceRoot = kResources.parent_path();

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Names without artwork, each with where it was found.
std::set<std::string> withoutArtwork(const std::map<std::string, std::string>& names) {
    std::set<std::string> missing;
    for (const auto& [name, where] : names) {
        if (!ImageAsset::named(name)->hasPixels()) {
            missing.insert(name + " (" + where + ")");
        }
    }
    return missing;
}

// Picture names written as literals: whole arguments of ImageAsset::named and
// stretchable (a literal the code adds to is a family, checked below), and any
// literal that ends in ".png".
std::map<std::string, std::string> literalNamesInCode() {
    static const std::regex named(R"re(ImageAsset::(?:named|stretchable)\(\s*"([^"]+)"\s*[),])re");
    static const std::regex png(R"re("([A-Za-z0-9][A-Za-z0-9_@.-]*\.png)")re");
    std::map<std::string, std::string> names;
    for (const char* folder : {"src", "apps"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kSourceRoot / folder)) {
            std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") {
                continue;
            }
            std::string code = readFile(entry.path());
            std::string where = std::filesystem::relative(entry.path(), kSourceRoot).string();
            for (const std::regex* pattern : {&named, &png}) {
                for (std::sregex_iterator it(code.begin(), code.end(), *pattern), end; it != end; ++it) {
                    names.emplace((*it)[1].str(), where);
                }
            }
        }
    }
    return names;
}

TEST(ArtworkCoverageTest, EveryPictureNamedInTheCodeHasArtwork) {
    std::map<std::string, std::string> names = literalNamesInCode();
    ASSERT_GT(names.size(), 40u) << "the scan found too few names to be looking at the code";
    EXPECT_EQ(withoutArtwork(names), std::set<std::string>{});
}

TEST(ArtworkCoverageTest, EveryPictureOfTheInterfaceAndReferenceFilesHasArtwork) {
    std::map<std::string, std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kResources / "interfaces")) {
        std::string text = readFile(entry.path());
        static const std::regex key(
            R"re("(image|highlightedImage|buttonBackground|highlightedButtonBackground|backgroundImage)"\s*:\s*"([^"]+)")re");
        for (std::sregex_iterator it(text.begin(), text.end(), key), end; it != end; ++it) {
            names.emplace((*it)[2].str(), entry.path().filename().string());
        }
    }
    auto guidance = nlohmann::json::parse(readFile(kResources / "guidance_images.json"));
    for (const auto& page : guidance) {
        names.emplace(page.get<std::string>(), "guidance_images.json");
    }
    // Category icons: on the idea rows as they are, in the category menu with
    // a state suffix, and the menu's own entry for all categories.
    auto categories = nlohmann::json::parse(readFile(kResources / "category"));
    ASSERT_FALSE(categories.empty());
    for (const auto& category : categories) {
        std::string icon = category.at("icon").get<std::string>();
        for (const char* suffix : {"", "_link", "_hover"}) {
            names.emplace(icon + suffix, "category");
        }
    }
    names.emplace("ca_all_link", "CategoryTableViewController");
    names.emplace("ca_all_hover", "CategoryTableViewController");
    EXPECT_EQ(withoutArtwork(names), std::set<std::string>{});
}

TEST(ArtworkCoverageTest, EveryComposedPictureNameHasArtwork) {
    std::map<std::string, std::string> names;
    for (int index = 0; index < TabBarLayout::kTabCount; ++index) {
        names.emplace(TabBarLayout::tab(index).image, "TabBarLayout");
        names.emplace(TabBarLayout::tab(index).selectedImage, "TabBarLayout");
    }
    for (const auto& provider : kExternalProviders) {
        names.emplace(provider.logo, "ExternalProvider");
    }
    for (int status : {DialogContent::Waiting, DialogContent::Sending, DialogContent::Failure}) {
        names.emplace(DialogContentListCell::stateImageName(status), "DialogContentListCell");
    }
    for (int gender = 0; gender <= 2; ++gender) {
        names.emplace("sex_" + std::to_string(gender) + "_link.png", "GenderButton");
        names.emplace("sex_" + std::to_string(gender) + "_hover.png", "GenderButton");
    }
    for (int number = 1; number <= 10; ++number) {
        names.emplace("background_image" + std::to_string(number) + ".png", "home headers");
    }
    for (const char* stem : {"send_category", "send_time", "send_place", "send_image"}) {
        names.emplace(std::string(stem) + "_set", "SendPostViewController");
        names.emplace(std::string(stem) + "_unset", "SendPostViewController");
    }
    for (const char* icon : {"idea_place_icon", "idea_time_icon", "idea_price_icon"}) {
        names.emplace(icon, "IdeaDetailViewController");
    }
    for (const char* button : {"list_resp_btn", "list_comment_btn", "list_date_btn"}) {
        names.emplace(button, "UserListCell");
    }
    names.emplace("face_loading", "avatars");
    names.emplace("small_pic_loading", "UserListCell");
    EXPECT_EQ(withoutArtwork(names), std::set<std::string>{});
}

TEST(ArtworkCoverageTest, ArtworkIsVectorAndEveryStretchRuleHasAPicture) {
    std::set<std::string> problems;
    for (const auto& entry : std::filesystem::directory_iterator(kResources / "images")) {
        if (entry.path().extension() != ".svg") {
            continue;
        }
        auto asset = ImageAsset::named(entry.path().stem().string());
        if (!asset->isVector()) {
            problems.insert(entry.path().filename().string() + " does not draw");
        } else if (auto pixels = asset->rendition(2); !pixels || pixels->pixelWidth() == 0) {
            problems.insert(entry.path().filename().string() + " gives no pixels");
        }
    }
    auto caps = nlohmann::json::parse(readFile(kResources / "images" / "stretch.json"));
    for (const auto& [name, pair] : caps.items()) {
        auto asset = ImageAsset::named(name);
        if (!asset->hasPixels()) {
            problems.insert("stretch.json names " + name + ", which has no picture");
            continue;
        }
        Size size = asset->size();
        // A cap must leave the one point that stretches inside the picture.
        if (pair[0].get<double>() >= size.width || pair[1].get<double>() >= size.height) {
            problems.insert(name + "'s caps reach past its edges");
        }
        if (!asset->isStretchable()) {
            problems.insert(name + " was not given its caps");
        }
    }
    EXPECT_EQ(problems, std::set<std::string>{});
}

TEST(ArtworkCoverageTest, TheCapsTheScreensRelyOnAreThoseOfTheArtwork) {
    auto caps = [](const char* name) {
        auto asset = ImageAsset::named(name);
        return std::pair{asset->leftCap(), asset->topCap()};
    };
    EXPECT_EQ(caps("app_top_nav_bg"), (std::pair{6.0, 0.0}));
    EXPECT_EQ(caps("app_top_nav_bg.png"), (std::pair{6.0, 0.0}));
    EXPECT_EQ(caps("zber_item_bg.png"), (std::pair{0.0, 30.0}));
    EXPECT_EQ(caps("home_zl_item_bg.png"), (std::pair{0.0, 30.0}));
    EXPECT_EQ(caps("list_resp_btn"), (std::pair{27.0, 0.0}));
    EXPECT_EQ(caps("my_send_txt_bg.png"), (std::pair{5.0, 20.0}));
    EXPECT_EQ(caps("ta_send_txt_bg.png"), (std::pair{8.0, 20.0}));
    EXPECT_EQ(caps("send_input_bgxy"), (std::pair{7.0, 7.0}));
    EXPECT_EQ(caps("idea_list_bg.png"), (std::pair{50.0, 20.0}));
    EXPECT_EQ(caps("external_category_btn"), (std::pair{5.0, 0.0}));
    EXPECT_EQ(caps("external_category_btn_hover"), (std::pair{5.0, 0.0}));
}

}  // namespace
}  // namespace zorlet
