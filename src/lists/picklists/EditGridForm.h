#pragma once
// The weapon magic list editor: a two-column grid of names and special status ("(None)",
// "Virtue", "Silver"). Names are typed into the first column; the second is not typed
// into: a double click on a row steps its special status on. Tab goes to the next row and
// adds one after the last. The window's size is kept in the settings ("GridEditHeight",
// "GridEditWidth").

#include <QDialog>
#include <vector>

#include "lists/picklists/PickListFiles.h"

class QAbstractButton;

namespace stallmark {

class SettingsStore;
class TStringGrid;

class TEditGridForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TEditGridForm)
public:
    static constexpr int kDesignWidth = 216, kDesignHeight = 307;

    // Reads its size from the settings and centres itself over owner.
    TEditGridForm(SettingsStore& settings, QWidget* owner = nullptr);
    // Writes its size back to the settings.
    ~TEditGridForm() override;

    // One row per entry (an empty grid shows one empty row).
    void SetEntries(const std::vector<MagicEntry>& entries);
    // The rows in order, names as typed, codes from the special column.
    std::vector<MagicEntry> Entries() const;

    // The special column's text of a code and back.
    static QString SpecialName(int code);
    static int SpecialCodeOf(const QString& text);

    void Btn_OkClick() { accept(); }
    void Btn_NewClick();
    void Btn_CancelClick() { reject(); }
    // Steps the special status of a data row: "(None)" -> "Virtue" -> "Silver" -> "(None)".
    void CycleSpecial(int row);
    // Tab from the current row: the next row, a new one after the last.
    void NextRow();
    // Shift+Tab: the previous row (none above the first).
    void PreviousRow();

    TStringGrid* Grid() const { return grid_; }
    QWidget* ButtonPanel() const { return pnBtns_; }

private:
    void LayoutColumns();
    void SGrid_EditSelectCell(int col, int row);

    SettingsStore& settings_;
    TStringGrid* grid_;
    QWidget* pnBtns_;
    QAbstractButton *btnOk_, *btnNew_, *btnCancel_;
};

}  // namespace stallmark
