#pragma once
// "Stallmark Options": the program-wide settings. The dialog lives for the
// whole run and is itself the settings store: callers read an option by
// looking at its control when they need it.

#include <QDialog>
#include <array>

#include "lists/OptionsSnapshot.h"

class QCheckBox;
class QLineEdit;
class QGroupBox;
class QAbstractButton;

namespace stallmark {

class SettingsStore;
class Dialogs;

class TOptionsForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TOptionsForm)
public:
    static constexpr int kPageCount = 8;
    static constexpr int kSendRows = 6;

    TOptionsForm(SettingsStore& settings, Dialogs& dialogs, QWidget* parent = nullptr);

    // Reads every value into the dialog / writes every value from it.
    void LoadOptions();
    void SaveOptions();

    void Btn_OkClick();
    void Btn_CancelClick();
    void Ckb_MultiLineClick();

    // Options as they stand in the controls now.
    bool SaveOnExit() const;
    bool StayOnTop() const;
    bool ShowHints() const;
    bool ButtonGraphic() const;
    bool ButtonText() const;
    bool MultiLine() const;
    int TabWidthValue() const;  // integer value of "Tab Width", 0 when not an integer
    QString WindowName() const;
    QString CharDelayText() const;
    int BackSpc() const;  // integer value of "BackSpc", 0 when not an integer
    QString BackSpcText() const;
    int ListDelay() const;
    // Send table rows 1 to 6 (Weapons, Armour, Smith, Bulk, General, Regs).
    bool SendVal(int row) const;  // the Bulk row (4) has no Value box: false
    bool SendDesc(int row) const;
    bool SendCr(int row) const;
    // Pages 0 to 7 in tab order.
    QString PageName(int page) const;
    bool PageHidden(int page) const;

    // The options the lists read, as they stand in the controls now.
    OptionsSnapshot Snapshot() const;

    QWidget* ButtonPanel() const { return pnBtns_; }

signals:
    // A control's value changed (by the player or by loading).
    void optionsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void BuildControls();
    void ShowOwnHints(bool show);

    SettingsStore& settings_;
    Dialogs& dialogs_;
    QCheckBox *ckbSaveOnExit_, *ckbStayOnTop_, *ckbBtnHint_, *ckbBtnGraphic_, *ckbBtnText_, *ckbMultiLine_;
    QLineEdit *edTabWidth_, *edWindowName_, *edListDelay_, *edCharDelay_, *edBackSpaces_;
    std::array<QLineEdit*, kPageCount> edName_{};
    std::array<QCheckBox*, kPageCount> ckbHide_{};
    std::array<QCheckBox*, kSendRows + 1> ckbSendVal_{};  // index 1..6; [4] stays null
    std::array<QCheckBox*, kSendRows + 1> ckbSendDesc_{};
    std::array<QCheckBox*, kSendRows + 1> ckbSendCr_{};
    QWidget* pnBtns_;
    QAbstractButton *btnOk_, *btnCancel_;
};

}  // namespace stallmark
