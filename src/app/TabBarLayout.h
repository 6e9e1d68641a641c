#pragma once

#include <memory>
#include <string>

namespace zorlet {

class ZorletTabBarController;

// The tab shell's layout: which screen sits on which tab, each in its own
// navigation controller, with the tab's title and pictures. The shell's logic
// relies on the positions: 0 the nearby feed, 1 the idea list, 2 the messages
// (the notice badge), then my home.
class TabBarLayout {
public:
    struct Tab {
        const char* screenClassName;
        const char* title;
        const char* image;
        const char* selectedImage;
    };

    static constexpr int kFeedTab = 0;
    static constexpr int kIdeaTab = 1;
    static constexpr int kMessageTab = 2;
    static constexpr int kHomeTab = 3;
    static constexpr int kTabCount = 4;

    static const Tab& tab(int index);
    // A new tab shell with every tab's root screen made by ScreenFactory.
    static std::shared_ptr<ZorletTabBarController> load();
};

}  // namespace zorlet
