#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/OptionsForm.h"
#include "app/PageControl.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "support/AppFixture.h"

namespace stallmark::test {

namespace {

QCheckBox* Box(TOptionsForm& o, const char* name) { return Find<QCheckBox>(&o, name); }
QLineEdit* Edit(TOptionsForm& o, const char* name) { return Find<QLineEdit>(&o, name); }

// Opens the options through the menu; `act` works the dialog and presses a button.
void RunOptions(AppFixture& f, TStallmarkForm& form, std::function<void(TOptionsForm&)> act) {
    f.dialogs.modalHandlers.push_back([act](QDialog& d) {
        auto& options = static_cast<TOptionsForm&>(d);
        options.setResult(QDialog::Rejected);
        act(options);
        return options.result();
    });
    form.Mp_OptionsClick();
}

void Press(TOptionsForm& o, const char* name) { QTest::mouseClick(Find<QAbstractButton>(&o, name), Qt::LeftButton); }

}  // namespace

TEST(Options, ButtonsStartWithPicturesAndHints) {
    AppFixture f;
    auto form = f.StartShown();
    auto* edit = Find<TToolBtnSig>(form.get(), "Btn_GenEdit");
    EXPECT_EQ(edit->displayMode(), dmGlyphOnly);
    EXPECT_FALSE(edit->glyph().isNull());
    EXPECT_EQ(edit->numGlyphs(), 2);
}

TEST(Options, EmptySettingsGiveTheDesignValues) {
    AppFixture f;
    auto form = f.Start();
    TOptionsForm& o = form->Options();
    EXPECT_EQ(o.windowTitle(), "Stallmark Options");
    for (int row = 1; row <= 6; ++row) {
        if (row != 4) {
            EXPECT_TRUE(o.SendVal(row)) << row;
        }
        EXPECT_TRUE(o.SendDesc(row)) << row;
        EXPECT_TRUE(o.SendCr(row)) << row;
    }
    EXPECT_EQ(Box(o, "Ckb_SendVal4"), nullptr);
    EXPECT_EQ(o.CharDelayText(), "0");
    EXPECT_EQ(o.BackSpc(), 20);
    EXPECT_EQ(o.ListDelay(), 1000);
    EXPECT_EQ(o.WindowName(), "Ultima Online -");
    EXPECT_EQ(Edit(o, "Ed_TabWidth")->text(), "50");
    EXPECT_TRUE(o.SaveOnExit());
    EXPECT_TRUE(o.StayOnTop());
    EXPECT_TRUE(o.ShowHints());
    EXPECT_TRUE(o.ButtonGraphic());
    EXPECT_FALSE(o.ButtonText());
    EXPECT_FALSE(o.MultiLine());
    EXPECT_EQ(Edit(o, "Ed_CharDelay")->toolTip(), "Delay between each charater wen sending");
    EXPECT_EQ(Find<QAbstractButton>(&o, "Btn_Ok")->toolTip(), "Confirm Changes");
    EXPECT_EQ(Edit(o, "Ed_CharDelay")->maxLength(), 2);
    EXPECT_EQ(Edit(o, "Ed_BackSpaces")->maxLength(), 4);
    EXPECT_EQ(Edit(o, "Ed_ListDelay")->maxLength(), 5);
    EXPECT_EQ(Edit(o, "Ed_TabWidth")->maxLength(), 3);
}

TEST(Options, OkStoresEveryValueUnderItsName) {
    AppFixture f;
    auto form = f.StartShown();
    RunOptions(f, *form, [](TOptionsForm& o) {
        Box(o, "Ckb_SendCr5")->setChecked(false);
        Box(o, "Ckb_SendVal6")->setChecked(false);
        Box(o, "Ckb_HideSmith")->setChecked(true);
        Edit(o, "Ed_NameGen")->setText("Goods");
        Edit(o, "Ed_CharDelay")->setText("7");
        Edit(o, "Ed_WindowName")
            ->setText(FromBytes("UO \xAB"
                                "Bob\xBB"));
        Press(o, "Btn_Ok");
    });
    const auto& s = f.settings.Strings();
    EXPECT_EQ(s.at("SendCr5"), "0");
    EXPECT_EQ(s.at("SendCr3"), "1");
    EXPECT_EQ(s.at("SendVal6"), "0");
    EXPECT_FALSE(f.settings.Has("SendVal4"));
    EXPECT_EQ(s.at("Hide Smith"), "1");
    EXPECT_EQ(s.at("Name Gen"), "Goods");
    EXPECT_EQ(s.at("CharDelay"), "7");
    EXPECT_EQ(s.at("Window Name"),
              "UO \xAB"
              "Bob\xBB");
    EXPECT_EQ(s.at("Tab Width"), "50");
    EXPECT_EQ(s.at("BackSpc"), "20");
    EXPECT_EQ(s.at("ListDelay"), "1000");
    EXPECT_EQ(s.at("Save Exit"), "1");
    // Applied on OK: the tab is renamed and the Smith page hidden.
    EXPECT_EQ(form->PageControl()->TabCaption(4), "Goods");
    EXPECT_FALSE(form->PageControl()->TabVisible(2));

    // A new run reads it all back.
    form.reset();
    auto again = f.Start();
    EXPECT_FALSE(again->Options().SendCr(5));
    EXPECT_EQ(again->Options().CharDelayText(), "7");
    EXPECT_EQ(again->Options().WindowName(), QString::fromUtf8("UO \u00ABBob\u00BB"));
}

TEST(Options, CancelRestoresStoredValuesAndTheCloseBoxKeepsThem) {
    AppFixture f;
    auto form = f.StartShown();
    RunOptions(f, *form, [](TOptionsForm& o) {
        Edit(o, "Ed_CharDelay")->setText("9");
        Press(o, "Btn_Cancel");
    });
    EXPECT_EQ(form->Options().CharDelayText(), "0");
    EXPECT_FALSE(f.settings.Has("CharDelay"));

    RunOptions(f, *form, [](TOptionsForm& o) {
        Edit(o, "Ed_CharDelay")->setText("9");
        Edit(o, "Ed_NameWep")->setText("Blades");
        o.close();
    });
    // Kept for this run, not stored, and names wait for the next OK.
    EXPECT_EQ(form->Options().CharDelayText(), "9");
    EXPECT_FALSE(f.settings.Has("CharDelay"));
    EXPECT_EQ(form->PageControl()->TabCaption(0), "Weapons");
}

TEST(Options, PicturesOrCaptionsAlwaysStayOn) {
    AppFixture f;
    auto form = f.StartShown();
    RunOptions(f, *form, [](TOptionsForm& o) {
        Box(o, "Ckb_OptBtnGraphic")->setChecked(false);
        Box(o, "Ckb_OptBtnText")->setChecked(false);
        Press(o, "Btn_Ok");
    });
    EXPECT_TRUE(form->Options().ButtonText());
    EXPECT_EQ(f.settings.Strings().at("Button Text"), "1");
    EXPECT_EQ(f.settings.Strings().at("Button Graphic"), "0");
    // Applied on OK: captions only, but a button of tag -1 shows both.
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_GenEdit")->displayMode(), dmTextOnly);
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_GeneralSort")->displayMode(), dmBoth);
    EXPECT_EQ(Find<TToolBtnSig>(&form->Options(), "Btn_Ok")->displayMode(), dmTextOnly);

    // Stored with both off by hand: loading turns captions on.
    f.settings.WriteBool("Button Text", false);
    form.reset();
    EXPECT_TRUE(f.Start()->Options().ButtonText());
}

TEST(Options, BulkNameLastsOnlyUntilTheNextStart) {
    AppFixture f;
    auto form = f.StartShown();
    RunOptions(f, *form, [](TOptionsForm& o) {
        Edit(o, "Ed_NameBulk")->setText("Deeds");
        Press(o, "Btn_Ok");
    });
    EXPECT_EQ(form->PageControl()->TabCaption(3), "Deeds");
    form.reset();
    auto again = f.StartShown();
    EXPECT_EQ(again->PageControl()->TabCaption(3), "Bulk");
}

TEST(Options, StayOnTopTakesEffectAtTheNextStart) {
    AppFixture f;
    auto form = f.StartShown();
    RunOptions(f, *form, [](TOptionsForm& o) {
        Box(o, "Ckb_StayOnTop")->setChecked(false);
        Press(o, "Btn_Ok");
    });
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    form.reset();
    EXPECT_FALSE(f.Start()->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(Options, NumberFieldsTakeDigitsOnlyAndGarbageReadsAsZero) {
    AppFixture f;
    f.settings.WriteRaw("CharDelay", "fast");
    f.settings.WriteRaw("Multi Line", "x");
    auto form = f.Start();
    TOptionsForm& o = form->Options();
    EXPECT_EQ(o.CharDelayText(), "0");  // the current text "0" is the default
    EXPECT_FALSE(o.MultiLine());
    QLineEdit* ed = Edit(o, "Ed_BackSpaces");
    ed->clear();
    QTest::keyClicks(ed, "1a-2");
    EXPECT_EQ(ed->text(), "12");
    ed->setText("");
    EXPECT_EQ(o.BackSpc(), 0);
}

TEST(Options, MultiLineSwitchesTheTabWidthField) {
    AppFixture f;
    auto form = f.Start();
    TOptionsForm& o = form->Options();
    QCheckBox* multi = Box(o, "Ckb_MultiLine");
    EXPECT_FALSE(Edit(o, "Ed_TabWidth")->isEnabled());
    QTest::mouseClick(multi, Qt::LeftButton, {}, QPoint(4, multi->height() / 2));
    EXPECT_TRUE(multi->isChecked());
    EXPECT_TRUE(Edit(o, "Ed_TabWidth")->isEnabled());
    QTest::mouseClick(multi, Qt::LeftButton, {}, QPoint(4, multi->height() / 2));
    EXPECT_FALSE(Edit(o, "Ed_TabWidth")->isEnabled());
}

TEST(Options, HintsFollowShowHints) {
    AppFixture f;
    f.settings.WriteBool("Button Hint", false);
    auto form = f.Start();
    EXPECT_TRUE(Edit(form->Options(), "Ed_WindowName")->toolTip().isEmpty());
}

TEST(Options, AFailedSaveKeepsTheDialogOpen) {
    AppFixture f;
    auto form = f.StartShown();
    RunOptions(f, *form, [&f](TOptionsForm& o) {
        f.settings.FailWith("Access is denied.");
        Press(o, "Btn_Ok");
        EXPECT_NE(o.result(), QDialog::Accepted);
        f.settings.FailWith("");
    });
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Access is denied.");
}

}  // namespace stallmark::test
