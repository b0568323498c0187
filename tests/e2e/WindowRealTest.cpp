// The window's frame on the real desktop: the page tabs at the default size
// and font, the dialogs as the window manager shows them (buttons, title,
// stacking), their captions, and the font picker of the list options.

#include <X11/keysym.h>

#include <QCheckBox>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QToolButton>

#include "controls/ToolButton.h"
#include "e2e/RealApp.h"

namespace stallmark::e2e {
namespace {

class WindowReal : public RealAppTest {
protected:
    TPageControl* Pages() { return Find<TPageControl>("PageControl"); }

    // Every shown tab shows its whole caption, inside the page control.
    void ExpectReadableTabs(int shown) {
        TPageControl* pages = Pages();
        int visible = 0;
        for (int i = 0; i < pages->PageCount(); ++i) {
            if (!pages->TabVisible(i)) continue;
            ++visible;
            QToolButton* tab = pages->TabButton(i);
            const QString caption = pages->TabCaption(i);
            EXPECT_EQ(tab->text(), caption);
            const int text = tab->fontMetrics().horizontalAdvance(caption);
            EXPECT_GT(tab->width(), text) << caption.toStdString();
            // Not stretched: about the caption's width, or the window's share.
            EXPECT_LE(tab->width(), std::max(text + 16, pages->TabWidth() + 16)) << caption.toStdString();
            EXPECT_TRUE(pages->rect().contains(tab->geometry())) << caption.toStdString();
            EXPECT_TRUE(tab->toolTip().isEmpty());
        }
        EXPECT_EQ(visible, shown);
    }
};

TEST_F(WindowReal, TabsOfTheDefaultWindowShowTheirWholeCaptions) {
    StartWindow();
    ASSERT_EQ(form->width(), 338);
    ExpectReadableTabs(8);
    EXPECT_EQ(Pages()->TabRows(), 1);
    // A long caption is cut, with the whole caption as its tooltip.
    const QString longName = QStringLiteral("Magic weapons in stock and sold");
    Pages()->SetTabCaption(0, longName);
    EXPECT_TRUE(Pages()->TabButton(0)->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(Pages()->TabButton(0)->toolTip(), longName);
    EXPECT_TRUE(Pages()->rect().contains(Pages()->TabButton(7)->geometry()));
}

TEST_F(WindowReal, TabsHiddenAndShownAgainInTheOptionsAreLaidOutAtOnce) {
    StartWindow();
    const char* hide[] = {"Ckb_HideWep", "Ckb_HideArm", "Ckb_HideSmith", "Ckb_HideBulk",
                          "Ckb_HideGen", "Ckb_HideReg", "Ckb_HideMemo",  "Ckb_HideVendor"};
    for (bool hidden : {true, false}) {
        // Leave the weapons page for the last, as a player would (its tab
        // alone shown on the way).
        dialogs.modalScripts.push_back([&](QWidget* options) {
            ExpectDialogWindow(options);
            for (int i = 7; i >= 0; --i) {
                auto* box = options->findChild<QCheckBox*>(QString::fromLatin1(hide[i]));
                ASSERT_NE(box, nullptr) << hide[i];
                if (box->isChecked() != hidden) {
                    ASSERT_TRUE(desktop.Click(box)) << hide[i];
                }
                ASSERT_EQ(box->isChecked(), hidden) << hide[i];
            }
            ASSERT_TRUE(desktop.Click(options->findChild<QWidget*>(QStringLiteral("Btn_Ok"))));
        });
        ChooseFromPopup(Find<QWidget>("PageControl"), "Mp_Options");
        ASSERT_TRUE(dialogs.modalScripts.empty());
        ExpectReadableTabs(hidden ? 0 : 8);
    }
    EXPECT_EQ(Pages()->TabRows(), 1);
}

TEST_F(WindowReal, ListOptionsShowTheirTitleAndCaptionsWholeAndPickTheFontAsDrawn) {
    StartWindow();
    bool picked = false;
    dialogs.modalScripts.push_back([&](QWidget* options) {
        EXPECT_EQ(options->windowTitle(), QStringLiteral("Weapon Price List"));
        ExpectDialogWindow(options);
        ExpectWholeCaptions(options);
        dialogs.fontScripts.push_back([&](QWidget* picker) {
            picked = true;
            ExpectDialogWindow(picker);
            auto* fonts = qobject_cast<QFontDialog*>(picker);
            ASSERT_NE(fonts, nullptr);
            QFont stored(QStringLiteral("Small Fonts"));
            stored.setPointSize(7);
            stored.setStyleHint(QFont::SansSerif);
            const QFontInfo drawn(stored);
            EXPECT_EQ(fonts->currentFont().family(), drawn.family());
            EXPECT_FALSE(fonts->currentFont().italic());
            EXPECT_EQ(fonts->currentFont().pointSize(), 7);
            // The picker's fields: family, style, size.
            const QList<QLineEdit*> fields = picker->findChildren<QLineEdit*>();
            ASSERT_GE(fields.size(), 3);
            EXPECT_EQ(fields[0]->text(), drawn.family());
            EXPECT_EQ(fields[1]->text(), drawn.styleName());
            ASSERT_TRUE(desktop.Key(XK_Escape));
        });
        ASSERT_TRUE(desktop.Click(options->findChild<QWidget*>(QStringLiteral("Lb_FontName"))));
        ASSERT_TRUE(desktop.Click(options->findChild<QWidget*>(QStringLiteral("Btn_Cancel"))));
    });
    ChooseFromPopup(Find<QWidget>("SGrid_MWDisplay"), "Mp_ListOpt2");
    EXPECT_TRUE(picked);
    EXPECT_TRUE(dialogs.modalScripts.empty());
}

TEST_F(WindowReal, ListOptionsWithGridLinesShowTheirBoxesWhole) {
    StartWindow();
    ShowPage("Tab_General");
    bool ran = false;
    dialogs.modalScripts.push_back([&](QWidget* options) {
        ran = true;
        EXPECT_EQ(options->windowTitle(), QStringLiteral("General List"));
        ExpectDialogWindow(options);
        ExpectWholeCaptions(options);
        auto* rows = options->findChild<QCheckBox*>(QStringLiteral("Ckb_LineRow"));
        ASSERT_TRUE(rows && rows->isVisible());
        ASSERT_TRUE(desktop.Click(rows));
        ASSERT_TRUE(desktop.Click(options->findChild<QWidget*>(QStringLiteral("Btn_Ok"))));
    });
    ChooseFromPopup(Find<QWidget>("SGrid_General"), "Mp_ListOpt1");
    ASSERT_TRUE(ran);
    EXPECT_FALSE(Find<TStringGrid>("SGrid_General")->VertLines());
}

TEST_F(WindowReal, TheGridHeightBoxShowsItsWholeTitleAndTakesTypedDigits) {
    dir.Write("General.dat", "Tools,Hammer,25\r\n");
    StartWindow();
    ShowPage("Tab_General");
    bool ran = false;
    dialogs.inputScripts.push_back([&](QWidget* box) {
        ran = true;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Enter Grid Height"));
        ExpectDialogWindow(box);
        ExpectWholeCaptions(box);
        ASSERT_TRUE(desktop.Type(QStringLiteral("20\n")));
    });
    ChooseFromPopup(Find<QWidget>("SGrid_General"), "Mp_GridResize");
    ASSERT_TRUE(ran);
    EXPECT_EQ(Find<TStringGrid>("SGrid_General")->DefaultRowHeight(), 20);
}

TEST_F(WindowReal, AMessageBoxHasNoMinimiseOrMaximiseButton) {
    dir.Write("General.dat", "Cloth,Bolt,77\r\nTools,Hammer,25\r\n");
    StartWindow();
    ShowPage("Tab_General");
    auto* grid = Find<TStringGrid>("SGrid_General");
    ASSERT_TRUE(desktop.ClickCell(grid, 0, 2));
    bool ran = false;
    dialogs.boxScripts.push_back([&](QWidget* box) {
        ran = true;
        ExpectDialogWindow(box);
        auto* message = qobject_cast<QMessageBox*>(box);
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(message->text(), QStringLiteral("Delete Hammer ?"));
        ASSERT_TRUE(desktop.Click(message->button(QMessageBox::Yes)));
    });
    ClickButton("Btn_GenDelete");
    ASSERT_TRUE(ran);
    EXPECT_EQ(dir.Read("General.dat"), "Cloth,Bolt,77\r\n");
}

TEST_F(WindowReal, ButtonCaptionsAreNeverCut) {
    settings.WriteBool("Button Graphic", true);
    settings.WriteBool("Button Text", true);
    StartWindow();
    for (const char* name : {"Btn_MWAutoUpdateOn", "Btn_MWAutoUpdateOff", "Btn_MWSearch", "Btn_MWReset", "Btn_MWList",
                             "Btn_MWAdd", "Btn_MWDelete", "Btn_MWEdit", "Btn_MWSold", "Btn_MWSend"}) {
        auto* button = Find<TToolBtnSig>(name);
        ASSERT_NE(button, nullptr);
        ASSERT_EQ(button->displayMode(), dmBoth) << name;
        const QRect caption = button->CaptionRect();
        ASSERT_FALSE(caption.isEmpty()) << name;
        const QFontMetrics fm(button->CaptionFont());
        EXPECT_GE(caption.width(), fm.horizontalAdvance(button->text())) << name;
        EXPECT_TRUE(button->rect().contains(caption)) << name;
    }
}

}  // namespace
}  // namespace stallmark::e2e
