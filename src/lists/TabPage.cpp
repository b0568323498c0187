#include "lists/TabPage.h"

#include <QWidget>

namespace stallmark {

PopupState TabPage::Popup(const QWidget*) const { return PopupState{}; }

bool IsWithin(const QWidget* widget, const QWidget* w) {
    for (const QWidget* p = widget; p != nullptr && w != nullptr; p = p->parentWidget())
        if (p == w) return true;
    return false;
}

}  // namespace stallmark
