// The list options dialog's own layout: no caption cut, whatever the list,
// the system font or the list font, and the whole title.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include "app/ListOptionsForm.h"
#include "controls/DialogWindow.h"
#include "settings/MemorySettings.h"
#include "support/ScriptedDialogs.h"

namespace stallmark {
namespace {

void ExpectNothingCut(TListOptionsForm& form) {
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&form) || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w))) continue;
        EXPECT_GE(w->width(), w->sizeHint().width())
            << w->objectName().toStdString() << " of list " << form.ListNumber();
        EXPECT_GE(w->height(), w->fontMetrics().height()) << w->objectName().toStdString();
        const QRect inForm(w->mapTo(&form, QPoint(0, 0)), w->size());
        EXPECT_TRUE(form.rect().contains(inForm)) << w->objectName().toStdString() << " of list " << form.ListNumber();
        for (QWidget* other : form.findChildren<QWidget*>()) {
            if (other == w || other->parentWidget() != w->parentWidget() || !other->isVisibleTo(&form)) continue;
            EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                << w->objectName().toStdString() << " and " << other->objectName().toStdString();
        }
    }
}

TEST(ListOptionsLayout, EveryListShowsItsCaptionsAndTitleWhole) {
    MemorySettings settings;
    test::ScriptedDialogs dialogs;
    for (int number = 1; number <= 11; ++number) {
        TListOptionsForm form(settings, dialogs);
        form.SelectList(number);
        ExpectNothingCut(form);
        EXPECT_GE(form.width(), TitleRoom(form.windowTitle(), QApplication::font())) << number;
        EXPECT_GE(form.width(), 218);
        EXPECT_EQ(form.minimumSize(), form.maximumSize());
        // A tool window with no border icons.
        const Qt::WindowFlags flags = form.windowFlags();
        EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    }
}

TEST(ListOptionsLayout, ALargeListFontWidensTheButtonsAndTheDialog) {
    MemorySettings settings;
    settings.WriteString("General FontName ", "Sans");
    settings.WriteInteger("General FontSize", 22);
    test::ScriptedDialogs dialogs;
    TListOptionsForm form(settings, dialogs);
    form.SelectList(7);
    ExpectNothingCut(form);
    EXPECT_GT(form.width(), 218);
    auto* ok = form.findChild<QAbstractButton*>(QStringLiteral("Btn_Ok"));
    auto* lines = form.findChild<QCheckBox*>(QStringLiteral("Ckb_LineRow"));
    EXPECT_GE(ok->y(), lines->geometry().bottom());
    EXPECT_GE(form.height(), ok->geometry().bottom());
}

}  // namespace
}  // namespace stallmark
