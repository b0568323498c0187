#include "lists/bulk/BulkInputForm.h"

#include <QAbstractButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/CaptionedControls.h"
#include "controls/Icons.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "store/Fields.h"
#include "store/GameNames.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

// The captions start this far left of the lists, which stand 5 pixels further right;
// a font whose captions need more room moves the lists to the right.
constexpr int kCaptionLeft = 45;
constexpr int kCaptionGap = 5;
constexpr int kRightMargin = 6;
constexpr int kDesignWidth = 160;
constexpr int kBarHeight = 26;

QString Name(std::string_view name) { return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())); }

template <std::size_t N>
void AddNames(TComboBoxSig* box, const std::array<std::string_view, N>& names) {
    for (std::string_view name : names) box->addItem(Name(name));
}

}  // namespace

TBulkInputForm::TBulkInputForm(QWidget* owner) : QDialog(owner) {
    setObjectName(u"BulkInputForm"_s);
    setWindowTitle(u"Bulk Order"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(4);
    auto* boxes = new QVBoxLayout;
    boxes->setSpacing(3);
    outer->addLayout(boxes);

    cbAmount_ = AddBox("Cb_Amount", u"Amount"_s);
    for (int i = 1; i <= kAmountCount; ++i) cbAmount_->addItem(QString::number(i * kAmountStep));
    cbQlty_ = AddBox("Cb_Qlty", u"Quality"_s);
    AddNames(cbQlty_, QualityNames);
    cbOre_ = AddBox("Cb_Ore", u"Ore"_s);
    AddNames(cbOre_, OreNames);
    cbOre_->setMaxVisibleItems(static_cast<int>(OreNames.size()));
    cbArmour_ = AddBox("Cb_Armour", u"Armour"_s);
    cbPiece_ = AddBox("Cb_Piece", u"Piece"_s);
    int captionLeft = kCaptionLeft;
    for (TComboBoxSig* box : {cbAmount_, cbQlty_, cbOre_, cbArmour_, cbPiece_})
        captionLeft = std::max(captionLeft, box->captionLabel()->sizeHint().width());
    for (TComboBoxSig* box : {cbAmount_, cbQlty_, cbOre_, cbArmour_, cbPiece_}) {
        box->setCaptionLeft(captionLeft);
        box->setMinimumWidth(kDesignWidth - kCaptionLeft - kCaptionGap - kRightMargin);
        boxes->addWidget(box);
    }
    boxes->setContentsMargins(captionLeft + kCaptionGap, 4, kRightMargin, 0);

    panel_ = new TPanelResize(this);
    panel_->setObjectName(u"PanelResize1"_s);
    panel_->setSeperators(true);
    panel_->setFixedHeight(kBarHeight);
    panel_->setMinimumWidth(kDesignWidth);
    btnOk_ = MakeBarButton(panel_, "Btn_Ok", u"Ok"_s, BtnImage::Ok, u"Add the order"_s);
    btnCancel_ = MakeBarButton(panel_, "Btn_Cancel", u"Cancel"_s, BtnImage::Cancel, u"Add nothing"_s);
    outer->addWidget(panel_);

    // FormCreate: the first quality and the first ore; amount and armour start empty.
    cbAmount_->setCurrentIndex(-1);
    cbQlty_->setCurrentIndex(0);
    cbOre_->setCurrentIndex(0);
    SetLarge(false);

    connect(cbArmour_, &QComboBox::currentIndexChanged, this, [this] { Cb_ArmourChange(); });
    connect(btnOk_, &QAbstractButton::clicked, this, [this] { Btn_OkClick(); });
    connect(btnCancel_, &QAbstractButton::clicked, this, [this] { Btn_CancelClick(); });
}

TComboBoxSig* TBulkInputForm::AddBox(const char* name, const QString& caption) {
    auto* box = new TComboBoxSig(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(false);  // only choices from the list
    box->setCaption(caption);
    return box;
}

void TBulkInputForm::SetLarge(bool large) {
    large_ = large;
    const QSignalBlocker quiet(cbArmour_);
    cbArmour_->clear();
    if (large) {
        AddNames(cbArmour_, ArmourKinds);
    } else {
        for (int kind = 0; kind < 3; ++kind) cbArmour_->addItem(Name(ArmourKindShortName(kind)));
    }
    cbArmour_->setCurrentIndex(-1);
    cbPiece_->clear();
    cbPiece_->setVisible(!large);
    // A fixed border: as big as the boxes shown need (the piece's row goes in large mode).
    layout()->activate();
    const QSize need = layout()->sizeHint();
    setFixedSize(std::max(need.width(), kDesignWidth), need.height());
}

void TBulkInputForm::Cb_ArmourChange() {
    if (large_) return;
    const QString remembered = cbPiece_->currentText();
    cbPiece_->clear();
    const int kind = ArmourIndex();
    for (int slot = 0; slot < kArmourPieceSlots; ++slot) {
        const std::string_view piece = ArmourPieceName(kind, slot);
        if (!piece.empty()) cbPiece_->addItem(Name(piece));
    }
    cbPiece_->setCurrentIndex(
        remembered.isEmpty() ? -1 : cbPiece_->findText(remembered, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

int TBulkInputForm::OreIndex() const { return cbOre_->currentIndex(); }
int TBulkInputForm::QualityIndex() const { return cbQlty_->currentIndex(); }
int TBulkInputForm::ArmourIndex() const { return cbArmour_->currentIndex(); }
int TBulkInputForm::PieceIndex() const { return large_ ? -1 : cbPiece_->currentIndex(); }
int TBulkInputForm::AmountValue() const { return ToIntOrZero(ToBytes(cbAmount_->currentText())); }

}  // namespace stallmark
