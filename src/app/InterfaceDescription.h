#pragma once

#include "platform/Json.h"
#include "ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace zorlet {

// A screen's layout kept as a resource (resources/interfaces/<name>.json):
//   {"objects": [ {"class": "View", "id": "...", "frame": [x, y, w, h], ..., "subviews": [...]}, ... ]}
// Screens build their views from it and wire the behaviour in code, finding
// the pieces by their automation id. Known classes: View, Label, Button,
// TextField, ImageView, ScrollView, TableView, TableViewCell, WebView,
// ActivityIndicatorView, PageControl.
class InterfaceDescription {
public:
    // The top-level objects of the description `name`, built afresh each time;
    // empty when the resource is missing or malformed.
    static std::vector<ViewPtr> load(const std::string& name);
    // One view (and its subviews) from its description; an unknown class gives a plain View.
    static ViewPtr build(const Json& description);

    // The first view in `root`'s tree (root included, depth first) with the automation id.
    static View* viewWithId(View& root, const std::string& id);
    template <typename T>
    static std::shared_ptr<T> find(View& root, const std::string& id) {
        View* view = viewWithId(root, id);
        return view != nullptr ? std::dynamic_pointer_cast<T>(view->shared_from_this()) : nullptr;
    }
    template <typename T>
    static std::shared_ptr<T> find(const std::vector<ViewPtr>& objects, const std::string& id) {
        for (const auto& object : objects) {
            if (auto found = find<T>(*object, id)) {
                return found;
            }
        }
        return nullptr;
    }
};

}  // namespace zorlet
