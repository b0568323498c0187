#pragma once
// The Memos page on its own, on a stand-in host whose "Clear book or profile" offers the
// page's own default, as the window does while the page is shown.

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "lists/memos/MemoPage.h"
#include "support/PageFixture.h"

namespace stallmark::test {

struct MemoFixture : PageFixture<TMemoPage> {
    TMemoPage* page = nullptr;
    QComboBox* name = nullptr;
    QPlainTextEdit* editor = nullptr;

    // Memos.dat holding file (none when file is null), then start-up.
    explicit MemoFixture(const char* file = "", bool start = true) {
        if (file != nullptr) dir.Write("Memos.dat", file);
        page = &Build();
        name = Find<QComboBox>("Cb_MemoName");
        editor = Find<QPlainTextEdit>("Memo_Memos");
        if (start) Start();
    }

    bool ClearBookOrProfile(TypingSession* session = nullptr) override {
        clearDefault = page->ClearCountDefault();
        return FakeHost::ClearBookOrProfile(session);
    }

    TToolBtnSig* Button(const char* objectName) { return Find<TToolBtnSig>(objectName); }
    void Click(const char* objectName) {
        TToolBtnSig* b = Button(objectName);
        ASSERT_TRUE(b && b->isEnabled()) << objectName;
        b->click();
    }
    // The player picks a name in the box.
    void Choose(const QString& memo) {
        const int index = name->findText(memo, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << memo.toStdString();
        name->setCurrentIndex(index);
        emit name->activated(index);
    }
    QStringList Items() const {
        QStringList items;
        for (int i = 0; i < name->count(); ++i) items << name->itemText(i);
        return items;
    }
    QString Text() const { return editor->toPlainText(); }
    QString Length() { return Find<QLabel>("Lb_MemoLength")->text(); }
    std::string File() { return dir.Read("Memos.dat"); }
    bool Editing() { return Button("Btn_MemoSave")->isEnabled(); }
    // The states of Save, Reset, New, Delete, Send and the name box, as "0"/"1".
    std::string States() {
        std::string s;
        for (const char* b : {"Btn_MemoSave", "Btn_MemoCancel", "Btn_MemoNew", "Btn_MemoDelete", "Btn_MemoSend"})
            s += Button(b)->isEnabled() ? '1' : '0';
        s += name->isEnabled() ? '1' : '0';
        return s;
    }
};

}  // namespace stallmark::test
