#include "host/ScreenMatch.h"

#include "ui/View.h"
#include "ui/ViewTreeDump.h"

namespace zorlet {

std::string ScreenMatch::describe() const {
    std::string what;
    switch (kind) {
        case Kind::View:
            what = view != nullptr ? view->typeName() : "View";
            break;
        case Kind::AlertButton:
            what = "alert button";
            break;
        case Kind::SheetButton:
            what = "sheet button";
            break;
        case Kind::TabItem:
            what = "tab";
            break;
        case Kind::Segment:
            what = "segment";
            break;
    }
    if (view != nullptr && !view->id().empty()) {
        what += " #" + view->id();
    }
    if (!text.empty()) {
        what += " " + ViewTreeDump::quoted(text);
    }
    return what + " at " + ViewTreeDump::rect(area);
}

}  // namespace zorlet
