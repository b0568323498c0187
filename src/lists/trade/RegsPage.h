#pragma once
// The Regs page: a calculator for the eight spell reagents. Each reagent has an amount
// and a unit price that give its total, and a send button that types the reagent's line
// (the total, a comma, the amount and the name) into the game. A quantity menu fills in
// common amounts and sends at once; "Link Quantities" keeps the eight amounts equal. No
// data file: the amounts, the prices and the link live in the settings.

#include <QObject>
#include <QString>
#include <array>
#include <string>

#include "lists/StoredList.h"
#include "lists/TabPage.h"

class QAction;
class QGroupBox;
class QMenu;
class QWidget;

namespace stallmark {

class ListHost;
class TEditLabel;
class TToolBtnSig;

// The total of an amount at a unit price, rounded to the nearest whole number with halves
// away from zero. A whole price multiplies exactly in 64 bits; a total that is not finite
// or lies beyond 64 bits counts as 0.
long long ReagentTotal(long long amount, double price);
// The same with a price given as text: a whole number is taken exactly, anything else is
// read as the player's locale writes numbers (the C form as well), 0 when it is none.
long long ReagentTotal(long long amount, const QString& priceText);

class TRegsPage final : public QObject, public StoredList, public TabPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRegsPage)
public:
    static constexpr int kReagentCount = 8;
    static constexpr int kQuantityCount = 9;
    static constexpr std::array<int, kQuantityCount> kQuantities = {10, 25, 50, 100, 250, 500, 1000, 5000, 10000};
    // No reagent (a send that has none does nothing).
    static constexpr int kNoReagent = -1;

    // Builds the page's controls on page.
    TRegsPage(ListHost& host, QWidget* page);
    ~TRegsPage() override;

    // The reagent's name ("Black Pearl" ...) and code ("Bp" ...), 0 to 7.
    static QString ReagentName(int reagent);
    static QString ReagentCode(int reagent);

    // Handlers.
    // Recalculates every total and line, then spreads the amount of sender when the link
    // is on and sender is an amount box. sender: the box whose change started it; null
    // at start-up (then it runs before the window is shown, too).
    void RegChange(QObject* sender);
    // Types the line of reagent (0 to 7; kNoReagent does nothing).
    void RegSendToGame(int reagent);
    // Before the quantity menu drops: the pending reagent is that of the quantity button
    // that dropped it; false (the menu stays closed) for any other control.
    bool Popup_RegsPopup(QWidget* component);
    // A quantity chosen: it becomes the pending reagent's amount, which is then sent.
    void Mp_RegMenuClick(QAction* item);
    void Tab_RegsResize();

    bool Link() const { return link_; }
    void SetLink(bool on) { link_ = on; }
    // The reagent whose box had the keyboard focus last (kNoReagent: none yet).
    int LastFocusedReagent() const { return lastReagent_; }
    int PendingReagent() const { return pending_; }

    // Controls.
    TToolBtnSig* SendButton(int reagent) const { return rows_[static_cast<size_t>(reagent)].send; }
    TToolBtnSig* QuantityButton(int reagent) const { return rows_[static_cast<size_t>(reagent)].quantity; }
    TEditLabel* AmountBox(int reagent) const { return rows_[static_cast<size_t>(reagent)].amount; }
    TEditLabel* PriceBox(int reagent) const { return rows_[static_cast<size_t>(reagent)].price; }
    TEditLabel* TotalBox(int reagent) const { return rows_[static_cast<size_t>(reagent)].total; }
    QMenu* QuantityMenu() const { return popupRegs_; }
    // The reagent's line as its send button holds it.
    QString Line(int reagent) const;

    // StoredList
    ListId Id() const override { return ListId::Reagents; }
    void LoadSettings(SettingsStore& settings) override;
    void SaveSettings(SettingsStore& settings) override;

    // TabPage
    std::vector<StoredList*> Lists() override { return {this}; }
    PopupState Popup(const QWidget* focus) const override;
    void SendToGame(QWidget* focus) override;
    void LinkChanged(bool on) override { SetLink(on); }
    void Relayout() override { Tab_RegsResize(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        TToolBtnSig* send = nullptr;
        TToolBtnSig* quantity = nullptr;
        TEditLabel* amount = nullptr;
        TEditLabel* price = nullptr;
        TEditLabel* total = nullptr;
    };

    void BuildControls();
    void Recalculate();
    // The reagent (0 to 7) whose box w is; kNoReagent for any other widget.
    int ReagentOf(const QObject* w) const;

    ListHost& host_;
    QWidget* page_;
    QGroupBox* gbRegs_ = nullptr;
    QMenu* popupRegs_ = nullptr;
    std::array<Row, kReagentCount> rows_{};
    bool link_ = true;
    bool busy_ = false;
    int pending_ = kNoReagent;
    int lastReagent_ = kNoReagent;
    int sendWidth_ = -1;  // the layout last applied
    int buttonHeight_ = -1;
};

}  // namespace stallmark
