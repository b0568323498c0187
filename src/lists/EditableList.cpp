#include "lists/EditableList.h"

#include <QAbstractButton>

#include "controls/Dialogs.h"
#include "controls/Text1252.h"
#include "lists/ListHost.h"

namespace stallmark {

bool RunGuarded(ListHost& host, const std::function<void()>& operation) {
    try {
        operation();
        return true;
    } catch (const std::exception& e) {
        host.HostDialogs().ShowMessageBox(QString::fromLocal8Bit(e.what()), MsgKind::Error, mbOK);
        return false;
    }
}

TEditableList::TEditableList(ListHost& host, std::string file) : host_(host), file_(std::move(file)) {}

void TEditableList::WireButtons(const EditButtons& buttons) {
    buttons_ = buttons;
    auto wire = [this](QAbstractButton* button, void (TEditableList::*handler)()) {
        if (button) connect(button, &QAbstractButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    wire(buttons.edit, &TEditableList::EditClick);
    wire(buttons.save, &TEditableList::SaveClick);
    wire(buttons.reset, &TEditableList::ResetClick);
    wire(buttons.newItem, &TEditableList::NewClick);
    wire(buttons.del, &TEditableList::DeleteClick);
    wire(buttons.send, &TEditableList::SendClick);
    SetBrowsing(true);
}

void TEditableList::SetBrowsing(bool browsing) {
    editing_ = !browsing;
    auto enable = [](QAbstractButton* button, bool on) {
        if (button) button->setEnabled(on);
    };
    enable(buttons_.save, !browsing);
    enable(buttons_.reset, !browsing);
    enable(buttons_.edit, browsing);
    enable(buttons_.del, browsing);
    enable(buttons_.send, browsing);
    enable(buttons_.newItem, browsing || buttons_.newWhileEditing);
    BrowsingChanged(browsing);
}

void TEditableList::SaveOpenEdit() {
    if (buttons_.save ? buttons_.save->isEnabled() : editing_) SaveClick();
}

void TEditableList::ReadWhole(const std::function<void()>& read) {
    loaded_ = false;
    cutMessage_.clear();
    read();
    cut_ = !cutMessage_.empty();
    loaded_ = !cut_;
    if (cut_) host_.HostDialogs().ShowMessageBox(FromBytes(cutMessage_), MsgKind::Warning, mbOK);
}

bool MayWriteList(ListHost& host, bool loaded, const std::string& file, bool cut) {
    if (loaded && !cut) return true;
    const QString why = cut ? QStringLiteral(" holds lines too long to load whole,")
                            : QStringLiteral(" could not be read when the program started,");
    host.HostDialogs().ShowMessageBox(
        FromBytes(file) + why + QStringLiteral("\n\rso it is not written: the file stays as it is."), MsgKind::Error,
        mbOK);
    return false;
}

bool TEditableList::MayWrite() { return MayWriteList(host_, loaded_, file_, cut_); }

}  // namespace stallmark
