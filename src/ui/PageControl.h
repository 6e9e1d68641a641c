#pragma once

#include "ui/Control.h"

namespace zorlet {

// A row of dots, one per page, the current one lit. A tap left or right of the
// current dot steps one page that way and reports ValueChanged.
class PageControl : public Control {
public:
    using Control::Control;
    const char* typeName() const override { return "PageControl"; }

    int numberOfPages() const { return numberOfPages_; }
    void setNumberOfPages(int pages);
    int currentPage() const { return currentPage_; }
    // Kept within 0 ... numberOfPages - 1.
    void setCurrentPage(int page);

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

protected:
    void tapped(Point point) override;

private:
    double dotX(int page) const;

    int numberOfPages_ = 0;
    int currentPage_ = 0;
};

}  // namespace zorlet
