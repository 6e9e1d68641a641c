#pragma once

#include "ui/Geometry.h"

#include <string>
#include <string_view>

namespace zorlet {

class View;
class Window;

// A stable text picture of a view tree for logs and tests: one line per
// visible view, indented two spaces per level, in subview order:
//   Label (10,20,300,44) tag=3 text="你好"
class ViewTreeDump {
public:
    static std::string dump(const View& root);
    // The window's tree, then the alerts and sheets shown over it and the keyboard.
    static std::string dumpScreen(const Window& window);

    static std::string quoted(std::string_view text);
    static std::string number(double value);
    static std::string point(Point p);
    static std::string size(Size s);
    static std::string rect(const Rect& r);
    static std::string line(const View& view);

private:
    static void dumpInto(const View& view, int depth, std::string& out);
};

}  // namespace zorlet
