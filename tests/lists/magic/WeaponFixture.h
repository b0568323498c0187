#pragma once
// The weapons page on its own (no window), with the weapon files and pick lists as given.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <map>
#include <memory>
#include <string>

#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "lists/magic/MagicPage.h"
#include "support/PageFixture.h"

namespace stallmark::test {

// Today in every weapon test: 08/12/2026, 10:30.
inline constexpr const char* kToday = "20261208";

struct WeaponFixture : PageFixture<TMagicPage> {
    TMagicPage* page = nullptr;
    TStringGrid* grid = nullptr;

    // Writes the files (name -> content) and starts the weapons page (or the page of list).
    void Open(const std::map<std::string, std::string>& files = {}, const MagicListDesc& list = WeaponList()) {
        for (const auto& [name, content] : files) dir.Write(name, content);
        page = &Build(list);
        grid = page->Grid();
        Start();
    }

    QComboBox* Box(const char* name) { return Find<QComboBox>(name); }
    QCheckBox* Check(const char* name) { return Find<QCheckBox>(name); }
    QLineEdit* Price() { return Find<QLineEdit>("Ed_MWPrice"); }
    QLabel* Label(const char* name) { return Find<QLabel>(name); }
    TToolBtnSig* Button(const char* name) { return Find<TToolBtnSig>(name); }
    void Click(const char* name) {
        TToolBtnSig* b = Button(name);
        ASSERT_TRUE(b && b->isEnabled()) << name;
        b->click();
    }
    // Chooses an entry as the user does (the box's change event runs).
    void Choose(const char* box, const QString& entry) {
        QComboBox* b = Box(box);
        const int index = b->findText(entry);
        ASSERT_GE(index, 0) << box << " " << entry.toStdString();
        b->setCurrentIndex(index);
    }
    QStringList Rows() {
        QStringList out;
        for (int r = 1; r < grid->RowCount(); ++r) out << grid->RowTexts(r).join("|");
        return out;
    }
    // The item cells of the rows.
    QStringList Items() {
        QStringList out;
        for (int r = 1; r < grid->RowCount(); ++r) out << grid->Cells(0, r);
        return out;
    }
    void SelectRow(int row) { grid->setRow(row); }
    std::string Stock() { return dir.Read("MWStock.dat"); }
    std::string Prices() { return dir.Read("MWPrice.dat"); }
    // The display options of one list, stored values applied as the window does after OK.
    void ApplyListOptions(int number) { page->ApplyListDisplay(number, LoadListDisplay(settings, number)); }
};

}  // namespace stallmark::test
