#pragma once
// The main window on the weapons page, with the weapon files and pick lists as given.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "app/PageControl.h"
#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "lists/magic/WeaponPage.h"
#include "support/AppFixture.h"

// Readable failures for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace stallmark::test {

// Today in every weapon test: 08/12/2026, 10:30.
inline constexpr const char* kToday = "20261208";

struct WeaponFixture : AppFixture {
    std::unique_ptr<TStallmarkForm> form;
    TMagicWeaponPage* page = nullptr;
    TStringGrid* grid = nullptr;
    WindowHandle game = 0;

    // Writes the files (name -> content) and starts the window on the weapons page.
    void Open(const std::map<std::string, std::string>& files = {}) {
        for (const auto& [name, content] : files) dir.Write(name, content);
        game = windows.AddWindow("Ultima Online", "Ultima Online - Ann");
        form = StartShown();
        QCoreApplication::sendPostedEvents();
        page = dynamic_cast<TMagicWeaponPage*>(form->PageList(TStallmarkForm::pgWeapons));
        grid = Find<TStringGrid>(form.get(), "SGrid_MWDisplay");
    }

    QComboBox* Box(const char* name) { return Find<QComboBox>(form.get(), name); }
    QCheckBox* Check(const char* name) { return Find<QCheckBox>(form.get(), name); }
    QLineEdit* Price() { return Find<QLineEdit>(form.get(), "Ed_MWPrice"); }
    QLabel* Label(const char* name) { return Find<QLabel>(form.get(), name); }
    TToolBtnSig* Button(const char* name) { return Find<TToolBtnSig>(form.get(), name); }
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
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) form->TimerTimer();
    }
};

}  // namespace stallmark::test
