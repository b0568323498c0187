#pragma once
// The Vendor page on its own, with its three files written before start-up and the
// total formatted with a leading pound sign and "," between thousands.

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <string>

#include "controls/CaptionedControls.h"
#include "controls/StringGrid.h"
#include "lists/trade/ChargedItems.h"
#include "lists/trade/TreasureMaps.h"
#include "lists/trade/VendorLedger.h"
#include "lists/trade/VendorPage.h"
#include "support/PageFixture.h"

namespace stallmark::test {

struct VendorFiles {
    std::optional<std::string> vendors = std::nullopt;
    std::optional<std::string> charged = std::nullopt;
    std::optional<std::string> maps = std::nullopt;
};

inline std::string PoundMoney(long long amount) { return "\xA3" + GroupThousands(amount); }

struct VendorFixture : PageFixture<TVendorPage> {
    TVendorPage* page = nullptr;
    TVendorLedger* ledger = nullptr;
    TStringGrid* grid = nullptr;

    explicit VendorFixture(const VendorFiles& files = {}, bool start = true) {
        if (files.vendors) dir.Write("Vendors.dat", *files.vendors);
        if (files.charged) dir.Write("Charged.dat", *files.charged);
        if (files.maps) dir.Write("Maps.dat", *files.maps);
        page = &Build(MoneyFormat(PoundMoney));
        ledger = &page->Ledger();
        grid = ledger->Grid();
        if (start) Start();
    }

    QAbstractButton* Button(const char* name) { return Find<QAbstractButton>(name); }
    void Click(const char* name) {
        QAbstractButton* b = Button(name);
        ASSERT_TRUE(b && b->isEnabled()) << name;
        b->click();
    }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    // Picks the entry with this text from the combo's list, as the player does.
    void Choose(const char* combo, const QString& text) {
        QComboBox* box = Combo(combo);
        const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // Types text into a combo's or an edit's line, key by key, over what is there.
    void Type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void TypeInto(const char* name, const QString& text) {
        if (QComboBox* box = Combo(name))
            Type(box->lineEdit(), text);
        else
            Type(Edit(name), text);
    }
    QStringList Rows() {
        QStringList out;
        for (int r = 1; r < grid->RowCount(); ++r) out << grid->RowTexts(r).join(u'|');
        return out;
    }
    QString Info() { return Find<QLabel>("Lb_VendorInfo")->text(); }
    std::string Posted() { return windows.PostedText(game); }
    void Activate() {
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(window.isActiveWindow());
    }
};

inline const std::string kBackspaces(21, '\b');  // "BackSpc" 20 posts one more

}  // namespace stallmark::test
