#pragma once
// "Bulk Order": the small dialog in which a new bulk order deed is entered. It offers only
// the choices the game has: the amount, the quality, the ore, the armour and, for a small
// order, the piece of that armour. Quality and ore start at their first entries, the
// others with nothing chosen.

#include <QDialog>
#include <QString>

class QAbstractButton;

namespace stallmark {

class TComboBoxSig;
class TPanelResize;

class TBulkInputForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TBulkInputForm)
public:
    // The amounts offered: 5 to 100 in steps of 5.
    static constexpr int kAmountStep = 5, kAmountCount = 20;

    // Centred over owner, in small mode.
    explicit TBulkInputForm(QWidget* owner = nullptr);

    // Large orders name all four armour kinds and no piece; small orders name three
    // kinds (one "Plate") and a piece of the chosen kind.
    void SetLarge(bool large);
    bool Large() const { return large_; }

    // The armour changed: the pieces of the new choice, keeping the piece chosen when
    // the new list has it (small mode only).
    void Cb_ArmourChange();
    void Btn_OkClick() { accept(); }
    void Btn_CancelClick() { reject(); }

    // The choices: the index within each list, -1 when nothing is chosen.
    int OreIndex() const;
    int QualityIndex() const;
    int ArmourIndex() const;
    int PieceIndex() const;
    // The amount chosen, 0 when none.
    int AmountValue() const;

    TComboBoxSig* AmountBox() const { return cbAmount_; }
    TComboBoxSig* QualityBox() const { return cbQlty_; }
    TComboBoxSig* OreBox() const { return cbOre_; }
    TComboBoxSig* ArmourBox() const { return cbArmour_; }
    TComboBoxSig* PieceBox() const { return cbPiece_; }
    TPanelResize* ButtonPanel() const { return panel_; }

private:
    TComboBoxSig* AddBox(const char* name, const QString& caption);

    bool large_ = false;
    TComboBoxSig* cbAmount_ = nullptr;
    TComboBoxSig* cbQlty_ = nullptr;
    TComboBoxSig* cbOre_ = nullptr;
    TComboBoxSig* cbArmour_ = nullptr;
    TComboBoxSig* cbPiece_ = nullptr;
    TPanelResize* panel_ = nullptr;
    QAbstractButton* btnOk_ = nullptr;
    QAbstractButton* btnCancel_ = nullptr;
};

}  // namespace stallmark
