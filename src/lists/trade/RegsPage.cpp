#include "lists/trade/RegsPage.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QLocale>
#include <QMenu>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "controls/CaptionedControls.h"
#include "controls/Icons.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameKeyboard.h"
#include "lists/EditableList.h"
#include "lists/ListHost.h"
#include "settings/SettingValues.h"
#include "store/Fields.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

// Names in the order of the page and of the settings values.
constexpr const char* kNames[TRegsPage::kReagentCount] = {"Black Pearl", "Blood Moss", "Garlic",       "Ginseng",
                                                          "Mandrake",    "Nightshade", "Spiders Silk", "Sulferous Ash"};
constexpr int kPictures[TRegsPage::kReagentCount] = {BtnImage::BlackPearl,  BtnImage::BloodMoss,   BtnImage::Garlic,
                                                     BtnImage::Ginseng,     BtnImage::Mandrake,    BtnImage::Nightshade,
                                                     BtnImage::SpidersSilk, BtnImage::SulfurousAsh};

// The options row of the send table that governs the reagents.
constexpr int kSendRow = 6;
// Amount and price boxes hold 9 characters: the stored amounts are held to what fits.
constexpr int kBoxLength = 9;
constexpr int kMinAmount = -99999999;
// Margins of the layout inside the group box, and the caption room before each box.
constexpr int kLeft = 6;
constexpr int kTop = 8;
constexpr int kCaptionWidth = 30;

}  // namespace

long long ReagentTotal(long long amount, double price) {
    const long double total = static_cast<long double>(price) * static_cast<long double>(amount);
    constexpr long double kLimit = 9223372036854775807.0L;
    if (!std::isfinite(total) || total >= kLimit || total <= -kLimit) return 0;
    return std::llround(total);
}

long long ReagentTotal(long long amount, const QString& priceText) {
    const QString text = priceText.trimmed();
    if (const long long whole = ToInt64OrZero(ToBytes(text)); whole != 0) {
        long long total = 0;
        if (__builtin_mul_overflow(whole, amount, &total)) return 0;
        return total;
    }
    bool ok = false;
    double price = QLocale().toDouble(text, &ok);
    if (!ok) price = QLocale::c().toDouble(text, &ok);
    return ReagentTotal(amount, ok ? price : 0.0);
}

QString TRegsPage::ReagentName(int reagent) {
    return reagent >= 0 && reagent < kReagentCount ? QString::fromLatin1(kNames[reagent]) : QString();
}

QString TRegsPage::ReagentCode(int reagent) {
    return reagent >= 0 && reagent < kReagentCount ? QString::fromLatin1(values::kReagentCodes[reagent]) : QString();
}

TRegsPage::TRegsPage(ListHost& host, QWidget* page) : host_(host), page_(page) {
    BuildControls();
    Recalculate();
}

TRegsPage::~TRegsPage() = default;

void TRegsPage::BuildControls() {
    auto* layout = new QVBoxLayout(page_);
    layout->setContentsMargins(2, 2, 2, 2);
    gbRegs_ = new QGroupBox(page_);
    gbRegs_->setObjectName(u"Gb_Regs"_s);
    layout->addWidget(gbRegs_);

    popupRegs_ = new QMenu(page_);
    popupRegs_->setObjectName(u"Popup_Regs"_s);
    for (int quantity : kQuantities) {
        QAction* item = popupRegs_->addAction(QString::number(quantity));
        item->setObjectName(u"Mp_Reg"_s + QString::number(quantity));
        item->setData(quantity);
        connect(item, &QAction::triggered, this, [this, item] { Mp_RegMenuClick(item); });
    }
    SetPopupHandler(popupRegs_, [this](QMenu*, QWidget* component) { return Popup_RegsPopup(component); });

    auto box = [this](const QString& name, const QString& caption, int reagent) {
        auto* edit = new TEditLabel(gbRegs_);
        edit->setObjectName(name);
        edit->setCaptionLeft(kCaptionWidth);
        edit->setCaption(caption);
        edit->setDialogs(&host_.HostDialogs());
        edit->setTag(reagent + 1);
        edit->installEventFilter(this);
        return edit;
    };
    for (int i = 0; i < kReagentCount; ++i) {
        Row& row = rows_[static_cast<size_t>(i)];
        const QString code = ReagentCode(i);
        row.send = new TToolBtnSig(ReagentName(i), gbRegs_);
        row.send->setObjectName(u"Btn_Reg"_s + code);
        row.send->setGlyph(ImageList_Btn().Pixmap(kPictures[i]));
        row.send->setButtonLayout(blGlyphRight);
        row.send->setTag(-1);
        row.send->setToolTip(ReagentName(i));
        connect(row.send, &QAbstractButton::clicked, this, [this, i] { RegSendToGame(i); });

        row.quantity = new TToolBtnSig(gbRegs_);
        row.quantity->setObjectName(u"Btn_Reg"_s + code + u"Q"_s);
        row.quantity->setGlyph(ImageList_Btn().Pixmap(BtnImage::Quantity));
        row.quantity->setTag(-1);
        row.quantity->setDropdownMenu(popupRegs_);

        row.amount = box(u"Ed_RegAmt"_s + code, u"Amt"_s, i);
        row.amount->setCharFilter(cfInteger);
        row.amount->setMaxLength(kBoxLength);
        row.amount->setText(u"0"_s);
        row.price = box(u"Ed_RegPrc"_s + code, u"Price"_s, i);
        row.price->setCharFilter(cfInteger);
        row.price->setMaxLength(kBoxLength);
        row.price->setText(u"0"_s);
        row.total = box(u"Ed_RegTot"_s + code, u"Total"_s, i);
        row.total->setReadOnly(true);
        for (TEditLabel* edit : {row.amount, row.price})
            connect(edit, &QLineEdit::textChanged, this, [this, edit] { RegChange(edit); });
    }
    gbRegs_->installEventFilter(this);
}

bool TRegsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == gbRegs_ && event->type() == QEvent::Resize) Tab_RegsResize();
    if (event->type() == QEvent::FocusIn)
        if (const int reagent = ReagentOf(watched); reagent != kNoReagent) lastReagent_ = reagent;
    return QObject::eventFilter(watched, event);
}

int TRegsPage::ReagentOf(const QObject* w) const {
    if (!w) return kNoReagent;
    for (int i = 0; i < kReagentCount; ++i) {
        const Row& row = rows_[static_cast<size_t>(i)];
        if (w == row.amount || w == row.price || w == row.total) return i;
    }
    return kNoReagent;
}

QString TRegsPage::Line(int reagent) const {
    return reagent >= 0 && reagent < kReagentCount ? SendButton(reagent)->toolTip() : QString();
}

// --- recalculation ------------------------------------------------------------------

void TRegsPage::Recalculate() {
    for (int i = 0; i < kReagentCount; ++i) {
        const Row& row = rows_[static_cast<size_t>(i)];
        const QString amountText = row.amount->text();
        const long long amount = ToInt64OrZero(ToBytes(amountText));
        const QString total = QString::number(ReagentTotal(amount, row.price->text()));
        row.total->setText(total);
        // The line lives in the send button's hint, where the send reads it back.
        row.send->setToolTip(total + u',' + amountText + u' ' + ReagentName(i));
    }
}

void TRegsPage::RegChange(QObject* sender) {
    if (busy_) return;
    if (sender && !host_.State().Ready) return;
    const QScopedValueRollback busy(busy_, true);
    Recalculate();
    // The link spreads the amount whose change started this run (typed or chosen from
    // the quantity menu), whatever box has the focus.
    int from = kNoReagent;
    for (int i = 0; i < kReagentCount; ++i)
        if (sender == rows_[static_cast<size_t>(i)].amount) from = i;
    if (!link_ || from == kNoReagent) return;
    const QString amount = rows_[static_cast<size_t>(from)].amount->text();
    for (const Row& row : rows_)
        if (row.amount->text() != amount) row.amount->setText(amount);
    Recalculate();
}

// --- sending ----------------------------------------------------------------------------

void TRegsPage::RegSendToGame(int reagent) {
    if (reagent < 0 || reagent >= kReagentCount) return;
    const QString line = Line(reagent);
    const qsizetype comma = line.indexOf(u',');
    const QString total = comma < 0 ? line : line.left(comma);
    const QString rest = comma < 0 ? QString() : line.mid(comma + 1);
    const OptionsSnapshot& options = host_.OptionValues();
    const SendRowOptions& row = options.SendRow(kSendRow);
    std::string text = row.value ? ToBytes(total) : std::string();
    if (row.description) {
        if (!text.empty()) text += ',';
        text += ToBytes(rest);
    }
    RunGuarded(host_, [&] { host_.Keyboard().SendToGame(text, row.enter, options.backSpc); });
}

void TRegsPage::SendToGame(QWidget* focus) {
    const int focused = ReagentOf(focus);
    RegSendToGame(focused != kNoReagent ? focused : lastReagent_);
}

bool TRegsPage::Popup_RegsPopup(QWidget* component) {
    pending_ = kNoReagent;
    for (int i = 0; i < kReagentCount; ++i)
        if (component != nullptr && component == rows_[static_cast<size_t>(i)].quantity) pending_ = i;
    return pending_ != kNoReagent;
}

void TRegsPage::Mp_RegMenuClick(QAction* item) {
    const int quantity = item ? item->data().toInt() : 0;
    if (quantity <= 0 || pending_ == kNoReagent) return;
    const int reagent = pending_;
    TEditLabel* amount = AmountBox(reagent);
    {
        const QSignalBlocker block(amount);
        amount->setText(QString::number(quantity));
    }
    RegChange(amount);
    RegSendToGame(reagent);
}

// --- layout ---------------------------------------------------------------------------

void TRegsPage::Tab_RegsResize() {
    const int width = std::max(gbRegs_->width() - 12, 15);
    const int editHeight = rows_[0].amount->sizeHint().height();
    const int sendWidth = width / 4 * 3;
    const int buttonHeight = std::max((gbRegs_->height() - 32 - 8 * editHeight) / 8, 10);
    if (sendWidth == sendWidth_ && buttonHeight == buttonHeight_) return;
    sendWidth_ = sendWidth;
    buttonHeight_ = buttonHeight;
    const int quantityWidth = width - sendWidth - 1;
    const int third = width / 3;
    int top = kTop;
    for (const Row& row : rows_) {
        row.send->setGeometry(kLeft, top, sendWidth, buttonHeight);
        row.quantity->setGeometry(kLeft + sendWidth + 1, top, quantityWidth, buttonHeight);
        top += buttonHeight + 1;
        // Amount, price and total share the line, each after its caption.
        TEditLabel* const boxes[] = {row.amount, row.price, row.total};
        for (int k = 0; k < 3; ++k) {
            const int left = kLeft + k * third;
            const int room = k < 2 ? third - 2 : width - 2 * third;
            boxes[k]->setGeometry(left + kCaptionWidth, top, std::max(room - kCaptionWidth, 10), editHeight);
        }
        top += editHeight + 1;
    }
}

// --- settings and menu ----------------------------------------------------------------

void TRegsPage::LoadSettings(SettingsStore& settings) {
    link_ = ReadValue(settings, values::RegLink, true);
    for (int i = 0; i < kReagentCount; ++i) {
        const Row& row = rows_[static_cast<size_t>(i)];
        const int amount =
            std::clamp(settings.ReadInteger(values::RegAmtName(i), 0), kMinAmount, values::kMaxReagentAmount);
        row.amount->setText(QString::number(amount));
        row.price->setText(FromBytes(settings.ReadString(values::RegPrcName(i), "0")));
    }
    RegChange(nullptr);
}

void TRegsPage::SaveSettings(SettingsStore& settings) {
    WriteValue(settings, values::RegLink, link_);
    for (int i = 0; i < kReagentCount; ++i)
        settings.WriteInteger(values::RegAmtName(i), ToIntOrZero(ToBytes(AmountBox(i)->text())));
    for (int i = 0; i < kReagentCount; ++i) settings.WriteString(values::RegPrcName(i), ToBytes(PriceBox(i)->text()));
}

PopupState TRegsPage::Popup(const QWidget*) const {
    PopupState s;
    s.link = true;
    s.linkChecked = link_;
    return s;
}

}  // namespace stallmark
