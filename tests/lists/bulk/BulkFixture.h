#pragma once
// The Bulk page on the stand-in host, with "Lbod.dat" and "Bod.dat" holding what a test
// gives, and the "Bulk Order" dialog filled in through the scripted dialogs as the player
// fills it.

#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QTreeView>
#include <functional>
#include <string>

#include "controls/CaptionedControls.h"
#include "controls/ToolButton.h"
#include "lists/bulk/BulkInputForm.h"
#include "lists/bulk/BulkPage.h"
#include "lists/bulk/BulkTreeModel.h"
#include "support/PageFixture.h"

namespace stallmark::test {

struct BulkFixture : PageFixture<TBulkPage> {
    TBulkPage* bulk = nullptr;

    BulkFixture(const std::string& large, const std::string& small, bool start = true) {
        dir.Write("Lbod.dat", large);
        dir.Write("Bod.dat", small);
        bulk = &Build();
        state.BulkTimerStart = clock.Now();
        if (start) Start();
    }

    QTreeView* LargeTree() { return Find<QTreeView>("Tv_Lbod"); }
    QTreeView* SmallTree() { return Find<QTreeView>("Tv_Bod"); }

    void Click(const char* name) {
        auto* button = Find<TToolBtnSig>(name);
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    // The tree takes the keyboard focus, as a click into it gives.
    void Focus(QTreeView* tree) {
        QApplication::setActiveWindow(&window);
        tree->setFocus();
    }
    void SelectLarge(int order, int piece = -1) {
        const auto& model = bulk->LargeModel();
        QModelIndex index = model.OrderIndex(order);
        if (piece >= 0) index = model.index(piece, 0, index);
        LargeTree()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        Focus(LargeTree());
    }
    void SelectSmall(int order) {
        SmallTree()->selectionModel()->setCurrentIndex(bulk->SmallModel().OrderIndex(order),
                                                       QItemSelectionModel::ClearAndSelect);
        Focus(SmallTree());
    }

    std::string Large() { return dir.Read("Lbod.dat"); }
    std::string Small() { return dir.Read("Bod.dat"); }
    std::string Typed() { return windows.PostedText(game); }
};

// Chooses a list entry by its text ("" chooses nothing).
inline void Choose(QComboBox* box, const char* text) {
    ASSERT_NE(box, nullptr);
    const int index = *text ? box->findText(QString::fromLatin1(text)) : -1;
    ASSERT_TRUE(!*text || index >= 0) << text;
    box->setCurrentIndex(index);
}

// The player's answer in the "Bulk Order" dialog: the entries chosen, then Ok or Cancel.
struct BulkEntry {
    const char* amount = "";
    const char* quality = "Normal";
    const char* ore = "Iron";
    const char* armour = "";
    const char* piece = "";
    bool ok = true;
};

inline std::function<int(QDialog&)> Enter(BulkEntry entry, std::function<void(TBulkInputForm&)> look = {}) {
    return [entry, look](QDialog& dialog) {
        auto& form = static_cast<TBulkInputForm&>(dialog);
        if (look) look(form);
        Choose(form.AmountBox(), entry.amount);
        Choose(form.QualityBox(), entry.quality);
        Choose(form.OreBox(), entry.ore);
        Choose(form.ArmourBox(), entry.armour);
        if (!form.Large()) Choose(form.PieceBox(), entry.piece);
        form.findChild<TToolBtnSig*>(QString::fromLatin1(entry.ok ? "Btn_Ok" : "Btn_Cancel"))->click();
        return dialog.result();
    };
}

}  // namespace stallmark::test
