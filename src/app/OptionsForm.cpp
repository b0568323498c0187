#include "app/OptionsForm.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>

#include "controls/CaptionedControls.h"
#include "controls/Icons.h"
#include "controls/ToolButton.h"

#include "controls/Dialogs.h"
#include "controls/Text1252.h"
#include "settings/SettingsStore.h"

namespace stallmark {

namespace {

struct PageRow {
    const char* label;
    const char* nameControl;
    const char* nameValue;  // nullptr: not stored
    const char* designName;
    const char* hideControl;
    const char* hideValue;
};

// Tab order of the main window's pages.
constexpr PageRow kPageRows[TOptionsForm::kPageCount] = {
    {"Weapons", "Ed_NameWep", "Name Wep", "Weapons", "Ckb_HideWep", "Hide Wep"},
    {"Armour", "Ed_NameArm", "Name Arm", "Armour", "Ckb_HideArm", "Hide Arm"},
    {"Smith", "Ed_NameSmith", "Name Smith", "Smith", "Ckb_HideSmith", "Hide Smith"},
    {"Bulk", "Ed_NameBulk", nullptr, "Bulk", "Ckb_HideBulk", "Hide Bulk"},
    {"General", "Ed_NameGen", "Name Gen", "General", "Ckb_HideGen", "Hide Gen"},
    {"Regs", "Ed_NameReg", "Name Reg", "Regs", "Ckb_HideReg", "Hide Reg"},
    {"Memos", "Ed_NameMemo", "Name Memo", "Memos", "Ckb_HideMemo", "Hide Memo"},
    {"Vendor", "Ed_NameVendor", "Name Vendor", "Vendor", "Ckb_HideVendor", "Hide Vendor"},
};

const char* const kHintProperty = "stallmarkHint";
const char* const kDesignProperty = "stallmarkDesign";

int IntegerOrZero(const QString& text) {
    auto value = ParseDecimalInteger(ToBytes(text));
    return value ? *value : 0;
}

std::string Num(int row) { return std::to_string(row); }

}  // namespace

TOptionsForm::TOptionsForm(SettingsStore& settings, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs) {
    setObjectName("OptionsForm");
    setWindowTitle("Stallmark Options");
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    BuildControls();
    for (QCheckBox* box : findChildren<QCheckBox*>()) box->setProperty(kDesignProperty, box->isChecked());
    for (QLineEdit* ed : findChildren<QLineEdit*>()) ed->setProperty(kDesignProperty, ed->text());
    setFixedSize(332, 410);
}

void TOptionsForm::BuildControls() {
    auto hint = [](QWidget* w, const char* text) {
        w->setProperty(kHintProperty, QString::fromLatin1(text));
        w->setToolTip(QString::fromLatin1(text));
    };
    auto check = [&](QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                     const char* hintText) {
        auto* box = new TCheckBoxSig(parent);
        box->setText(QString::fromLatin1(caption));
        box->setObjectName(name);
        box->setGeometry(x, y, w, 17);
        if (hintText) hint(box, hintText);
        return box;
    };
    auto edit = [&](QWidget* parent, const char* name, const char* caption, int x, int y, int w, int maxLength,
                    bool integerOnly, const char* hintText) {
        auto* ed = new TEditLabel(parent);
        ed->setObjectName(name);
        ed->setGeometry(x, y, w, 21);
        if (maxLength > 0) ed->setMaxLength(maxLength);
        if (integerOnly) ed->setCharFilter(cfInteger);
        if (caption) {
            ed->setCaptionLeft(x > 100 ? 72 : 62);
            ed->setCaption(QString::fromLatin1(caption));
        }
        if (hintText) hint(ed, hintText);
        return ed;
    };

    auto* gbOptions = new QGroupBox("Options", this);
    gbOptions->setObjectName("Gb_Options");
    gbOptions->setGeometry(4, 2, 324, 150);
    ckbSaveOnExit_ = check(gbOptions, "Ckb_SaveOnExit", "Save On Exit", 8, 18, 110, "Save form postion on exit");
    ckbSaveOnExit_->setChecked(true);
    ckbStayOnTop_ =
        check(gbOptions, "Ckb_StayOnTop", "Stay On Top", 8, 36, 110, "Float above other windows on teh desktop");
    ckbStayOnTop_->setChecked(true);
    ckbBtnHint_ = check(gbOptions, "Ckb_OptBtnHint", "Show Hints", 8, 54, 110, "Show popup hints");
    ckbBtnHint_->setChecked(true);
    ckbBtnGraphic_ =
        check(gbOptions, "Ckb_OptBtnGraphic", "Button Graphic", 8, 72, 110, "Display pictures on the buttons");
    ckbBtnGraphic_->setChecked(true);
    ckbBtnText_ = check(gbOptions, "Ckb_OptBtnText", "Button Text", 8, 90, 110, "Display text on the buttons");
    ckbMultiLine_ = check(gbOptions, "Ckb_MultiLine", "Multi Line Menu", 8, 108, 120,
                          "Allow page tab headers to span more than one line");
    edTabWidth_ = edit(gbOptions, "Ed_TabWidth", "Tab Width", 70, 126, 40, 3, true,
                       "Display between each line, when sending memos, bods, etc");
    edTabWidth_->setText("50");
    edWindowName_ =
        edit(gbOptions, "Ed_WindowName", "Window", 208, 18, 112, 0, false, "Ultima Online game window title");
    edWindowName_->setText("Ultima Online -");
    edListDelay_ = edit(gbOptions, "Ed_ListDelay", "List Delay", 208, 44, 60, 5, true,
                        "Delay between each line, when sending BODs");
    edListDelay_->setText("1000");
    edCharDelay_ =
        edit(gbOptions, "Ed_CharDelay", "Char Delay", 208, 70, 60, 2, true, "Delay between each charater wen sending");
    edCharDelay_->setText("0");
    edBackSpaces_ = edit(gbOptions, "Ed_BackSpaces", "BackSpc", 208, 96, 60, 4, true,
                         "No of backspaces to send before sending vendor data (to ensure input line is empty)");
    edBackSpaces_->setText("20");
    connect(ckbMultiLine_, &QCheckBox::clicked, this, [this] { Ckb_MultiLineClick(); });

    auto* gbPages = new QGroupBox(this);
    gbPages->setObjectName("Gb_PageOptions");
    gbPages->setGeometry(4, 154, 324, 214);
    auto* lbPages = new QLabel("Page Options", gbPages);
    lbPages->setObjectName("Lb_PageOptions");
    lbPages->setGeometry(8, 4, 150, 16);
    auto* lbSend = new QLabel("Send To Game Window", gbPages);
    lbSend->setObjectName("Lb_SendToGame");
    lbSend->setGeometry(170, 4, 152, 16);
    for (int page = 0; page < kPageCount; ++page) {
        const PageRow& row = kPageRows[page];
        const int y = 24 + page * 23;
        ckbHide_[page] = check(gbPages, row.hideControl, "Hide", 8, y + 2, 48, "Hide this page");
        edName_[page] = edit(gbPages, row.nameControl, nullptr, 58, y, 110, 0, false, nullptr);
        edName_[page]->setText(QString::fromLatin1(row.designName));
        const int send = page + 1;
        if (send > kSendRows) continue;
        if (send != 4) {
            ckbSendVal_[send] = check(gbPages, ("Ckb_SendVal" + Num(send)).c_str(), "Value", 170, y + 2, 54,
                                      "Send the value for these item");
            ckbSendVal_[send]->setChecked(true);
        }
        ckbSendDesc_[send] = check(gbPages, ("Ckb_SendDesc" + Num(send)).c_str(), "Desc'", 226, y + 2, 56,
                                   "Send the description for these items");
        ckbSendDesc_[send]->setChecked(true);
        ckbSendCr_[send] = check(gbPages, ("Ckb_SendCr" + Num(send)).c_str(), "Cr", 284, y + 2, 38,
                                 "Send a carraige return for these items");
        ckbSendCr_[send]->setChecked(true);
    }

    auto* panel = new TPanelResize(this);
    pnBtns_ = panel;
    pnBtns_->setObjectName("Pn_Btns");
    pnBtns_->setGeometry(4, 372, 324, 34);
    auto* ok = MakeBarButton(pnBtns_, "Btn_Ok", "OK", BtnImage::Ok, QString());
    hint(ok, "Confirm Changes");
    auto* cancel = MakeBarButton(pnBtns_, "Btn_Cancel", "Cancel", BtnImage::Cancel, QString());
    hint(cancel, "Cancel Changes");
    btnOk_ = ok;
    btnCancel_ = cancel;
    connect(btnOk_, &QAbstractButton::clicked, this, [this] { Btn_OkClick(); });
    connect(btnCancel_, &QAbstractButton::clicked, this, [this] { Btn_CancelClick(); });
}

void TOptionsForm::LoadOptions() {
    auto readBool = [&](const char* name, QCheckBox* box, bool fallback) {
        box->setChecked(settings_.ReadBool(name, fallback));
    };
    // A value never stored reads as the control's design value, so that
    // Cancel also drops edits of values that were never saved.
    auto readCurrent = [&](const char* name, QCheckBox* box) {
        readBool(name, box, box->property(kDesignProperty).toBool());
    };
    auto readInt = [&](const char* name, QLineEdit* ed) {
        ed->setText(
            QString::number(settings_.ReadInteger(name, IntegerOrZero(ed->property(kDesignProperty).toString()))));
    };
    auto readText = [&](const char* name, QLineEdit* ed) {
        ed->setText(FromBytes(settings_.ReadString(name, ToBytes(ed->property(kDesignProperty).toString()))));
    };

    readCurrent("Multi Line", ckbMultiLine_);
    readInt("Tab Width", edTabWidth_);
    for (const PageRow& row : kPageRows)
        if (row.nameValue) readText(row.nameValue, findChild<QLineEdit*>(row.nameControl));
    for (int page = 0; page < kPageCount; ++page) readCurrent(kPageRows[page].hideValue, ckbHide_[page]);
    for (int row = 1; row <= kSendRows; ++row)
        if (ckbSendVal_[row]) readBool(("SendVal" + Num(row)).c_str(), ckbSendVal_[row], true);
    for (int row = 1; row <= kSendRows; ++row) readBool(("SendDesc" + Num(row)).c_str(), ckbSendDesc_[row], true);
    for (int row = 1; row <= kSendRows; ++row) readBool(("SendCr" + Num(row)).c_str(), ckbSendCr_[row], true);
    readCurrent("Button Hint", ckbBtnHint_);
    readCurrent("Button Graphic", ckbBtnGraphic_);
    readCurrent("Button Text", ckbBtnText_);
    if (!ckbBtnGraphic_->isChecked() && !ckbBtnText_->isChecked()) ckbBtnText_->setChecked(true);
    readText("Window Name", edWindowName_);
    readInt("ListDelay", edListDelay_);
    readInt("CharDelay", edCharDelay_);
    readInt("BackSpc", edBackSpaces_);
    readBool("Stay Ontop", ckbStayOnTop_, true);
    readBool("Save Exit", ckbSaveOnExit_, true);
    ShowOwnHints(ckbBtnHint_->isChecked());
    // "Tab Width" only counts with "Multi Line Menu": it is enabled with it.
    Ckb_MultiLineClick();
}

void TOptionsForm::SaveOptions() {
    for (int row = 1; row <= kSendRows; ++row)
        if (ckbSendVal_[row]) settings_.WriteBool("SendVal" + Num(row), ckbSendVal_[row]->isChecked());
    for (int row = 1; row <= kSendRows; ++row)
        settings_.WriteBool("SendDesc" + Num(row), ckbSendDesc_[row]->isChecked());
    for (int row = 1; row <= kSendRows; ++row) settings_.WriteBool("SendCr" + Num(row), ckbSendCr_[row]->isChecked());
    settings_.WriteBool("Multi Line", ckbMultiLine_->isChecked());
    settings_.WriteInteger("Tab Width", IntegerOrZero(edTabWidth_->text()));
    for (int page = 0; page < kPageCount; ++page)
        if (kPageRows[page].nameValue) settings_.WriteString(kPageRows[page].nameValue, ToBytes(edName_[page]->text()));
    for (int page = 0; page < kPageCount; ++page)
        settings_.WriteBool(kPageRows[page].hideValue, ckbHide_[page]->isChecked());
    settings_.WriteBool("Button Hint", ckbBtnHint_->isChecked());
    if (!ckbBtnGraphic_->isChecked() && !ckbBtnText_->isChecked()) ckbBtnText_->setChecked(true);
    settings_.WriteBool("Button Graphic", ckbBtnGraphic_->isChecked());
    settings_.WriteBool("Button Text", ckbBtnText_->isChecked());
    settings_.WriteString("Window Name", ToBytes(edWindowName_->text()));
    settings_.WriteInteger("ListDelay", IntegerOrZero(edListDelay_->text()));
    settings_.WriteInteger("CharDelay", IntegerOrZero(edCharDelay_->text()));
    settings_.WriteInteger("BackSpc", IntegerOrZero(edBackSpaces_->text()));
    settings_.WriteBool("Stay Ontop", ckbStayOnTop_->isChecked());
    settings_.WriteBool("Save Exit", ckbSaveOnExit_->isChecked());
    settings_.Flush();
}

void TOptionsForm::Btn_OkClick() {
    try {
        SaveOptions();
    } catch (const std::exception& e) {
        // The dialog stays open with the player's values; Cancel still backs out.
        dialogs_.ShowMessageBox(QString::fromLocal8Bit(e.what()), MsgKind::Error, mbOK);
        return;
    }
    done(QDialog::Accepted);
}

void TOptionsForm::Btn_CancelClick() {
    try {
        LoadOptions();
    } catch (const std::exception& e) {
        dialogs_.ShowMessageBox(QString::fromLocal8Bit(e.what()), MsgKind::Error, mbOK);
    }
    done(QDialog::Rejected);
}

// Escape acts as the Cancel button.
void TOptionsForm::reject() { Btn_CancelClick(); }

// The close box only hides: changed values stay in the dialog, unsaved.
void TOptionsForm::closeEvent(QCloseEvent* event) {
    event->accept();
    done(QDialog::Rejected);
}

void TOptionsForm::Ckb_MultiLineClick() { edTabWidth_->setEnabled(ckbMultiLine_->isChecked()); }

void TOptionsForm::ShowOwnHints(bool show) {
    for (QWidget* w : findChildren<QWidget*>()) {
        const QVariant text = w->property(kHintProperty);
        if (text.isValid()) w->setToolTip(show ? text.toString() : QString());
    }
}

bool TOptionsForm::SaveOnExit() const { return ckbSaveOnExit_->isChecked(); }
bool TOptionsForm::StayOnTop() const { return ckbStayOnTop_->isChecked(); }
bool TOptionsForm::ShowHints() const { return ckbBtnHint_->isChecked(); }
bool TOptionsForm::ButtonGraphic() const { return ckbBtnGraphic_->isChecked(); }
bool TOptionsForm::ButtonText() const { return ckbBtnText_->isChecked(); }
bool TOptionsForm::MultiLine() const { return ckbMultiLine_->isChecked(); }
int TOptionsForm::TabWidthValue() const { return IntegerOrZero(edTabWidth_->text()); }
QString TOptionsForm::WindowName() const { return edWindowName_->text(); }
QString TOptionsForm::CharDelayText() const { return edCharDelay_->text(); }
int TOptionsForm::BackSpc() const { return IntegerOrZero(edBackSpaces_->text()); }
QString TOptionsForm::BackSpcText() const { return edBackSpaces_->text(); }
int TOptionsForm::ListDelay() const { return IntegerOrZero(edListDelay_->text()); }

bool TOptionsForm::SendVal(int row) const {
    return row >= 1 && row <= kSendRows && ckbSendVal_[row] && ckbSendVal_[row]->isChecked();
}
bool TOptionsForm::SendDesc(int row) const { return row >= 1 && row <= kSendRows && ckbSendDesc_[row]->isChecked(); }
bool TOptionsForm::SendCr(int row) const { return row >= 1 && row <= kSendRows && ckbSendCr_[row]->isChecked(); }
QString TOptionsForm::PageName(int page) const {
    return page >= 0 && page < kPageCount ? edName_[page]->text() : QString();
}
bool TOptionsForm::PageHidden(int page) const { return page >= 0 && page < kPageCount && ckbHide_[page]->isChecked(); }

}  // namespace stallmark
