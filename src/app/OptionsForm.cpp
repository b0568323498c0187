#include "app/OptionsForm.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>

#include "controls/CaptionedControls.h"
#include "controls/Icons.h"
#include "controls/ToolButton.h"

#include "controls/Dialogs.h"
#include "controls/Text1252.h"
#include "settings/SettingValues.h"
#include "settings/SettingsStore.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

struct PageRow {
    const char* nameControl;
    const char* designName;
    const char* hideControl;
};

// Tab order of the main window's pages; the values behind them are values::PageName
// and values::PageHide (the Bulk page's name is not kept).
constexpr PageRow kPageRows[TOptionsForm::kPageCount] = {
    {"Ed_NameWep", "Weapons", "Ckb_HideWep"},   {"Ed_NameArm", "Armour", "Ckb_HideArm"},
    {"Ed_NameSmith", "Smith", "Ckb_HideSmith"}, {"Ed_NameBulk", "Bulk", "Ckb_HideBulk"},
    {"Ed_NameGen", "General", "Ckb_HideGen"},   {"Ed_NameReg", "Regs", "Ckb_HideReg"},
    {"Ed_NameMemo", "Memos", "Ckb_HideMemo"},   {"Ed_NameVendor", "Vendor", "Ckb_HideVendor"},
};

const char* const kHintProperty = "stallmarkHint";
const char* const kDesignProperty = "stallmarkDesign";

int IntegerOrZero(const QString& text) {
    auto value = ParseDecimalInteger(ToBytes(text));
    return value ? *value : 0;
}

std::string Num(int row) { return std::to_string(row); }

QString Latin(const char* text) { return QString::fromLatin1(text); }

}  // namespace

TOptionsForm::TOptionsForm(SettingsStore& settings, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs) {
    setObjectName("OptionsForm");
    setWindowTitle(u"Stallmark Options"_s);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    BuildControls();
    for (QCheckBox* box : findChildren<QCheckBox*>()) box->setProperty(kDesignProperty, box->isChecked());
    for (QLineEdit* ed : findChildren<QLineEdit*>()) ed->setProperty(kDesignProperty, ed->text());
    // Whoever reads the options is told of every change, whether made by the player,
    // by loading, or by Cancel reading the stored values back.
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &TOptionsForm::optionsChanged);
    for (QLineEdit* ed : findChildren<QLineEdit*>())
        connect(ed, &QLineEdit::textChanged, this, &TOptionsForm::optionsChanged);
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

    auto* gbOptions = new QGroupBox(u"Options"_s, this);
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
    edTabWidth_->setText(u"50"_s);
    edWindowName_ =
        edit(gbOptions, "Ed_WindowName", "Window", 208, 18, 112, 0, false, "Ultima Online game window title");
    edWindowName_->setText(u"Ultima Online -"_s);
    edListDelay_ = edit(gbOptions, "Ed_ListDelay", "List Delay", 208, 44, 60, 5, true,
                        "Delay between each line, when sending BODs");
    edListDelay_->setText(u"1000"_s);
    edCharDelay_ =
        edit(gbOptions, "Ed_CharDelay", "Char Delay", 208, 70, 60, 2, true, "Delay between each charater wen sending");
    edCharDelay_->setText(u"0"_s);
    edBackSpaces_ = edit(gbOptions, "Ed_BackSpaces", "BackSpc", 208, 96, 60, 4, true,
                         "No of backspaces to send before sending vendor data (to ensure input line is empty)");
    edBackSpaces_->setText(u"20"_s);
    connect(ckbMultiLine_, &QCheckBox::clicked, this, [this] { Ckb_MultiLineClick(); });

    auto* gbPages = new QGroupBox(this);
    gbPages->setObjectName("Gb_PageOptions");
    gbPages->setGeometry(4, 154, 324, 214);
    auto* lbPages = new QLabel(u"Page Options"_s, gbPages);
    lbPages->setObjectName("Lb_PageOptions");
    lbPages->setGeometry(8, 4, 150, 16);
    auto* lbSend = new QLabel(u"Send To Game Window"_s, gbPages);
    lbSend->setObjectName("Lb_SendToGame");
    lbSend->setGeometry(170, 4, 152, 16);
    for (int page = 0; page < kPageCount; ++page) {
        const PageRow& row = kPageRows[page];
        const int y = 24 + page * 23;
        ckbHide_[page] = check(gbPages, row.hideControl, "Hide", 8, y + 2, 48, "Hide this page");
        edName_[page] = edit(gbPages, row.nameControl, nullptr, 58, y, 110, 0, false, nullptr);
        edName_[page]->setText(Latin(row.designName));
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
    auto* ok = MakeBarButton(pnBtns_, "Btn_Ok", u"OK"_s, BtnImage::Ok, QString());
    hint(ok, "Confirm Changes");
    auto* cancel = MakeBarButton(pnBtns_, "Btn_Cancel", u"Cancel"_s, BtnImage::Cancel, QString());
    hint(cancel, "Cancel Changes");
    btnOk_ = ok;
    btnCancel_ = cancel;
    connect(btnOk_, &QAbstractButton::clicked, this, [this] { Btn_OkClick(); });
    connect(btnCancel_, &QAbstractButton::clicked, this, [this] { Btn_CancelClick(); });
}

void TOptionsForm::LoadOptions() {
    auto readBool = [&](const values::Bool& value, QCheckBox* box, bool fallback) {
        box->setChecked(ReadValue(settings_, value, fallback));
    };
    // A value never stored reads as the control's design value, so that
    // Cancel also drops edits of values that were never saved.
    auto readCurrent = [&](const values::Bool& value, QCheckBox* box) {
        readBool(value, box, box->property(kDesignProperty).toBool());
    };
    auto readInt = [&](const values::Int& value, QLineEdit* ed) {
        ed->setText(
            QString::number(ReadValue(settings_, value, IntegerOrZero(ed->property(kDesignProperty).toString()))));
    };
    auto readText = [&](const values::Text& value, QLineEdit* ed) {
        ed->setText(FromBytes(ReadValue(settings_, value, ToBytes(ed->property(kDesignProperty).toString()))));
    };

    readCurrent(values::MultiLine, ckbMultiLine_);
    readInt(values::TabWidth, edTabWidth_);
    for (int page = 0; page < kPageCount; ++page)
        if (values::PageName[page].name) readText(values::PageName[page], edName_[page]);
    for (int page = 0; page < kPageCount; ++page) readCurrent(values::PageHide[page], ckbHide_[page]);
    for (int row = 1; row <= kSendRows; ++row)
        if (ckbSendVal_[row]) ckbSendVal_[row]->setChecked(ReadValue(settings_, values::SendVal, row, true));
    for (int row = 1; row <= kSendRows; ++row)
        ckbSendDesc_[row]->setChecked(ReadValue(settings_, values::SendDesc, row, true));
    for (int row = 1; row <= kSendRows; ++row)
        ckbSendCr_[row]->setChecked(ReadValue(settings_, values::SendCr, row, true));
    readCurrent(values::ButtonHint, ckbBtnHint_);
    readCurrent(values::ButtonGraphic, ckbBtnGraphic_);
    readCurrent(values::ButtonText, ckbBtnText_);
    if (!ckbBtnGraphic_->isChecked() && !ckbBtnText_->isChecked()) ckbBtnText_->setChecked(true);
    readText(values::WindowName, edWindowName_);
    readInt(values::ListDelay, edListDelay_);
    readInt(values::CharDelay, edCharDelay_);
    readInt(values::BackSpc, edBackSpaces_);
    readBool(values::StayOntop, ckbStayOnTop_, true);
    readBool(values::SaveExit, ckbSaveOnExit_, true);
    ShowOwnHints(ckbBtnHint_->isChecked());
    // "Tab Width" only counts with "Multi Line Menu": it is enabled with it.
    Ckb_MultiLineClick();
}

void TOptionsForm::SaveOptions() {
    for (int row = 1; row <= kSendRows; ++row)
        if (ckbSendVal_[row]) WriteValue(settings_, values::SendVal, row, ckbSendVal_[row]->isChecked());
    for (int row = 1; row <= kSendRows; ++row)
        WriteValue(settings_, values::SendDesc, row, ckbSendDesc_[row]->isChecked());
    for (int row = 1; row <= kSendRows; ++row) WriteValue(settings_, values::SendCr, row, ckbSendCr_[row]->isChecked());
    WriteValue(settings_, values::MultiLine, ckbMultiLine_->isChecked());
    WriteValue(settings_, values::TabWidth, IntegerOrZero(edTabWidth_->text()));
    for (int page = 0; page < kPageCount; ++page)
        if (values::PageName[page].name) WriteValue(settings_, values::PageName[page], ToBytes(edName_[page]->text()));
    for (int page = 0; page < kPageCount; ++page)
        WriteValue(settings_, values::PageHide[page], ckbHide_[page]->isChecked());
    WriteValue(settings_, values::ButtonHint, ckbBtnHint_->isChecked());
    if (!ckbBtnGraphic_->isChecked() && !ckbBtnText_->isChecked()) ckbBtnText_->setChecked(true);
    WriteValue(settings_, values::ButtonGraphic, ckbBtnGraphic_->isChecked());
    WriteValue(settings_, values::ButtonText, ckbBtnText_->isChecked());
    WriteValue(settings_, values::WindowName, ToBytes(edWindowName_->text()));
    WriteValue(settings_, values::ListDelay, IntegerOrZero(edListDelay_->text()));
    WriteValue(settings_, values::CharDelay, IntegerOrZero(edCharDelay_->text()));
    WriteValue(settings_, values::BackSpc, IntegerOrZero(edBackSpaces_->text()));
    WriteValue(settings_, values::StayOntop, ckbStayOnTop_->isChecked());
    WriteValue(settings_, values::SaveExit, ckbSaveOnExit_->isChecked());
    settings_.Flush();
}

OptionsSnapshot TOptionsForm::Snapshot() const {
    OptionsSnapshot o;
    for (int row = 1; row <= kSendRows; ++row)
        o.sendRows[static_cast<size_t>(row)] = SendRowOptions{SendVal(row), SendDesc(row), SendCr(row)};
    o.backSpc = BackSpc();
    o.backSpcText = ToBytes(BackSpcText());
    o.listDelay = ListDelay();
    o.buttons = ButtonOptions{ShowHints(), ButtonGraphic(), ButtonText()};
    return o;
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
