#include "app/PlaceholderViewController.h"

#include "ui/Color.h"

namespace zorlet {

PlaceholderViewController::PlaceholderViewController(std::string screenClassName, std::string title)
    : screenClassName_(std::move(screenClassName)) {
    if (!title.empty()) {
        setTitle(std::move(title));
    }
}

void PlaceholderViewController::viewDidLoad() {
    view().setBackgroundColor(Color::whiteColor());
}

}  // namespace zorlet
