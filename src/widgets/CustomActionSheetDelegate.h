#pragma once

namespace zorlet {

class CustomActionSheet;

// What a picker sheet's owner hears from its toolbar buttons; both optional.
// The sheet is dismissed right after either call.
class CustomActionSheetDelegate {
public:
    virtual ~CustomActionSheetDelegate() = default;
    virtual void done(CustomActionSheet& sheet) {}
    virtual void docancel(CustomActionSheet& sheet) {}
};

}  // namespace zorlet
