#pragma once

#include "model/ExternalCategory.h"
#include "ui/GestureRecognizer.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/SearchBar.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace zorlet {

class BarButtonItem;

// "What do you want to go out for?": the grid of place categories and a
// search over the places, each opening a place list; also the way into the
// plain composer. Presented modally in its own navigation stack.
class ExternalCategoryListViewController : public ViewController, public SearchBarDelegate {
public:
    static constexpr const char* kTitle = "想出去玩什么？";
    static constexpr double kGridLeft = 15;
    static constexpr double kGridTop = 59;
    static constexpr double kColumnStep = 150;
    static constexpr double kRowStep = 50;
    static constexpr double kTipGap = 10;

    std::string className() const override { return "ExternalCategoryListViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void close();
    void listExternalPosts(int tag);
    void cancelSearch();

    // SearchBarDelegate
    void searchBarTextDidBeginEditing(SearchBar&) override;
    void searchBarSearchButtonClicked(SearchBar&) override;
    void searchBarCancelButtonClicked(SearchBar&) override;

    std::vector<ExternalCategoryPtr> externalCategoryArray;
    std::shared_ptr<SearchBar> searchBar;
    std::shared_ptr<ScrollView> scrollView;
    std::shared_ptr<Label> tipLabel;
    GestureRecognizerPtr panRecognizer;
    GestureRecognizerPtr tapRecognizer;
    std::shared_ptr<BarButtonItem> sendPostItem;

private:
    void loadCategories();
    void layoutGrid();
};

}  // namespace zorlet
