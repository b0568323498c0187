#pragma once
// The General page: the player's general goods (type, description, value),
// kept in "General.dat", edited in place in a three-column grid, sorted by
// one of three keys and sent to the game with one click.

#include <QObject>
#include <QString>

#include "lists/ListPage.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QWidget;

namespace stallmark {

class ListHost;
class TStringGrid;
class TTabSheet;

class TGeneralPage : public QObject, public ListPage {
    Q_OBJECT
public:
    static constexpr int kColType = 0, kColDesc = 1, kColValue = 2;
    static constexpr int kMaxType = 25, kMaxDesc = 120, kMaxValue = 9;
    static constexpr const char* kFileName = "General.dat";

    // Builds the page's controls on the given page widget.
    TGeneralPage(ListHost& host, QWidget* page);

    // Operations.
    void LoadGeneralList();
    bool CheckGeneralList();
    void SortGeneralList();
    bool SaveGeneralList();
    void StartGeneralEdit(bool isNew);
    void EndGeneralEdit(bool cancel);
    void FindGeneralItem(const QString& type, const QString& description, const QString& value);
    QString GeneralItemText(bool forHint) const;
    void ShowGeneralDesc(int row);

    // Handlers.
    void Btn_GenEditClick();
    void Btn_GenNewClick();
    void Btn_GenSaveClick();
    void Btn_GenCancelClick();
    void Btn_GenDeleteClick();
    void Btn_GenSendClick();
    void Btn_GeneralSortClick();
    void Cb_OthTypeChange();
    void SGrid_GeneralSelectCell(int col, int row);
    void SGrid_GeneralClick();
    bool SGrid_GeneralKeyPress(int col, int row, QChar& ch);
    void Tab_GeneralResize();

    bool IsEditing() const;
    TStringGrid* Grid() const { return grid_; }

    // ListPage
    void LoadList() override;
    void LoadSettings(SettingsStore& settings) override;
    void SaveSettings(SettingsStore& settings) override;
    void SendToGame() override { Btn_GenSendClick(); }
    std::vector<TStringGrid*> SizingGrids() override;
    void Relayout() override { Tab_GeneralResize(); }
    void ApplyListDisplay(int number, const ListDisplay& display) override;
    void SaveOpenEdit() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls(QWidget* page);
    void SetBrowsing(bool browsing);
    void SetCountCaption();
    void SelectTypeInCombo(const QString& type);
    int ItemRows() const;
    QString Cell(int col, int row) const;
    // Runs a handler; an error it raises is shown in an error box.
    void Guard(const std::function<void()>& operation);

    ListHost& host_;
    QWidget* page_;
    QWidget* gbOthBtn_;
    QWidget* gbOthBtn2_;
    QAbstractButton *btnEdit_, *btnSave_, *btnReset_, *btnNew_, *btnDelete_, *btnSend_;
    QAbstractButton *btnSort_, *btnNoItems_;
    QComboBox* cbType_;
    QGroupBox* gbGeneral_;
    TStringGrid* grid_;
    QLabel* lbDesc_;
};

}  // namespace stallmark
