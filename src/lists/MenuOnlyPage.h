#pragma once
// A page whose lists are not part of the window yet: it answers the popup menu with
// the page's own items and does nothing else.

#include "lists/TabPage.h"

namespace stallmark {

class TMenuOnlyPage final : public TabPage {
public:
    explicit TMenuOnlyPage(PopupState popup) : popup_(std::move(popup)) {}
    std::vector<StoredList*> Lists() override { return {}; }
    PopupState Popup(const QWidget*) const override {
        PopupState s = popup_;
        s.gridResizeChecked = GridSizing();
        return s;
    }

private:
    PopupState popup_;
};

}  // namespace stallmark
