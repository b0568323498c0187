#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "controls/CaptionedControls.h"
#include "controls/Icons.h"
#include "controls/ToolButton.h"

namespace stallmark {
namespace {

struct Panel : ::testing::Test {
    QWidget window;
    TPanelResize* panel = new TPanelResize(&window);
    std::vector<TToolBtnSig*> buttons;

    Panel() {
        panel->setObjectName(QStringLiteral("Gb_OthBtn"));
        window.resize(400, 200);
        window.show();
    }

    void AddButtons(int n) {
        for (int i = 0; i < n; ++i) {
            auto* b = new TToolBtnSig(QStringLiteral("B%1").arg(i), panel);
            b->show();
            buttons.push_back(b);
        }
        panel->Realign();
    }

    std::vector<int> Lefts() {
        std::vector<int> out;
        for (auto* b : buttons)
            if (!b->isHidden()) out.push_back(b->x());
        return out;
    }
    std::vector<int> Widths() {
        std::vector<int> out;
        for (auto* b : buttons)
            if (!b->isHidden()) out.push_back(b->width());
        return out;
    }
};

TEST_F(Panel, SharesTheRowOutWithLeftoverPixelsToTheFirstButtons) {
    EXPECT_EQ(panel->height(), 26);
    panel->setBevelInner(bvRaised);
    panel->setBevelOuter(bvLowered);
    panel->setSeperators(true);
    AddButtons(6);
    panel->setGeometry(0, 0, 322, 26);
    EXPECT_EQ(panel->BevelSize(), 2);
    EXPECT_EQ(Widths(), (std::vector<int>{52, 52, 51, 51, 51, 51}));
    EXPECT_EQ(Lefts(), (std::vector<int>{2, 56, 110, 163, 216, 269}));
    for (auto* b : buttons) {
        EXPECT_EQ(b->y(), 2);
        EXPECT_EQ(b->height(), 22);
    }
    // Hiding a button gives its space to the others at once: S = 322 - (4 + 8) = 310.
    buttons[1]->hide();
    EXPECT_EQ(Widths(), (std::vector<int>{62, 62, 62, 62, 62}));
    EXPECT_EQ(Lefts(), (std::vector<int>{2, 66, 130, 194, 258}));
    buttons[1]->show();
    EXPECT_EQ(buttons[1]->x(), 56);
    // Separators are painted between the buttons.
    const QImage shot = panel->grab().toImage();
    EXPECT_NE(shot.pixelColor(108, 12), shot.pixelColor(109, 12));
}

TEST_F(Panel, ColumnLayoutAndMinimumSize) {
    AddButtons(3);
    panel->setVertical(true);
    panel->setGeometry(0, 0, 60, 92);  // one raised outer bevel: b = 1
    EXPECT_EQ(buttons[0]->geometry(), QRect(1, 1, 58, 30));
    EXPECT_EQ(buttons[1]->geometry(), QRect(1, 31, 58, 30));
    EXPECT_EQ(buttons[2]->geometry(), QRect(1, 61, 58, 30));
    // Too little room: every child keeps at least 10 pixels.
    panel->setVertical(false);
    panel->setGeometry(0, 0, 20, 26);
    for (auto* b : buttons) EXPECT_EQ(b->width(), 10);
}

TEST_F(Panel, OrderFollowsHandPlacedEdgesAndSkipsCaptionLabels) {
    auto* c = new TToolBtnSig(QStringLiteral("C"), panel);
    auto* a = new TToolBtnSig(QStringLiteral("A"), panel);
    auto* b = new TToolBtnSig(QStringLiteral("B"), panel);
    c->move(200, 0);
    a->move(5, 0);
    b->move(100, 0);
    auto* combo = new TComboBoxSig(panel);  // its caption label is a child of the panel too
    combo->setCaption(QStringLiteral("Type"));
    for (QWidget* w : std::initializer_list<QWidget*>{a, b, c, combo}) w->show();
    panel->setGeometry(0, 0, 401, 26);
    const std::vector<QWidget*> order = panel->OrderedChildren();
    ASSERT_EQ(order.size(), 4u);  // not the caption label
    EXPECT_EQ(order[0], a);
    EXPECT_EQ(order[1], b);
    EXPECT_EQ(order[2], c);
    EXPECT_EQ(order[3], combo);  // never placed by hand: last
    EXPECT_EQ(a->x(), 1);
    EXPECT_EQ(b->x(), 101);
    EXPECT_EQ(combo->x(), 301);
    // The order is kept afterwards even though the edges now say the same.
    panel->resize(201, 26);
    EXPECT_LT(a->x(), b->x());
    EXPECT_LT(c->x(), combo->x());
}

TEST(ToolButton, DropDownButtonDropsItsMenuOnThePressAndDoesNotClick) {
    QWidget window;
    window.resize(200, 100);
    auto* button = new TToolBtnSig(QStringLiteral("Send"), &window);
    button->setGeometry(10, 10, 60, 24);
    QMenu menu;
    menu.addAction(QStringLiteral("Send To Game"));
    menu.addAction(QStringLiteral("Clear Book/Profile"));
    button->setDropdownMenu(&menu);
    window.show();
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(PopupComponent(&menu), button);
    EXPECT_EQ(menu.geometry().topLeft(), button->mapToGlobal(QPoint(0, button->height())));
    menu.hide();
    EXPECT_FALSE(button->isPressedLook());

    // The menu's popup handler may refuse the drop.
    int asked = 0;
    SetPopupHandler(&menu, [&](QMenu*, QWidget* component) {
        ++asked;
        EXPECT_EQ(component, button);
        return false;
    });
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(clicked.count(), 0);
}

TEST(ToolButton, SplitButtonClicksOnItsMainPartAndDropsOnItsArrow) {
    QWidget window;
    window.resize(200, 100);
    auto* button = new TToolBtnSig(QStringLiteral("Pause"), &window);
    button->setGeometry(10, 10, 60, 24);
    QMenu menu;
    menu.addAction(QStringLiteral("x"));
    button->setDropdownMenu(&menu);
    button->setDropdownCombo(true);
    EXPECT_EQ(button->width(), 71);
    window.show();
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(menu.isVisible());
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(65, 10));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(clicked.count(), 1);
    menu.hide();
    // Released outside the clickable part: nothing.
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(66, 10));
    EXPECT_EQ(clicked.count(), 1);
    button->setDropdownCombo(false);
    EXPECT_EQ(button->width(), 60);
}

TEST(ToolButton, GroupedButtonsHoldOneDown) {
    QWidget window;
    auto* on = new TToolBtnSig(QStringLiteral("Auto On"), &window);
    auto* off = new TToolBtnSig(QStringLiteral("Auto Off"), &window);
    on->setGeometry(0, 0, 50, 24);
    off->setGeometry(50, 0, 50, 24);
    window.show();
    on->setDown(true);  // no group: ignored
    EXPECT_FALSE(on->isDown());
    on->setGroupIndex(1);
    off->setGroupIndex(1);
    on->setDown(true);
    EXPECT_TRUE(on->isDown());
    on->setDown(false);  // held, and all up is not allowed
    EXPECT_TRUE(on->isDown());
    QSignalSpy offClicked(off, &QAbstractButton::clicked);
    QTest::mouseClick(off, Qt::LeftButton);
    EXPECT_TRUE(off->isDown());
    EXPECT_FALSE(on->isDown());
    EXPECT_EQ(offClicked.count(), 1);
    QTest::mouseClick(off, Qt::LeftButton);  // stays down, still clicks
    EXPECT_TRUE(off->isDown());
    EXPECT_EQ(offClicked.count(), 2);
    off->setAllowAllUp(true);
    EXPECT_TRUE(on->allowAllUp());
    QTest::mouseClick(off, Qt::LeftButton);
    EXPECT_FALSE(off->isDown());
    EXPECT_FALSE(on->isDown());
}

TEST(ToolButton, ModalResultClosesItsDialogAfterTheClick) {
    QDialog dialog;
    auto* ok = new TToolBtnSig(QStringLiteral("OK"), &dialog);
    ok->setModalResult(QDialog::Accepted);
    ok->setGeometry(0, 0, 40, 22);
    dialog.show();
    bool sawOpen = false;
    QObject::connect(ok, &QAbstractButton::clicked, [&] { sawOpen = dialog.isVisible(); });
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(sawOpen);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(ToolButton, MenuItemClicksTheVisibleButton) {
    QWidget window;
    auto* button = new TToolBtnSig(QStringLiteral("Send"), &window);
    window.show();
    auto* item = new QAction(QStringLiteral("Send To Game"));
    int former = 0;
    QObject::connect(item, &QAction::triggered, [&] { ++former; });
    button->setMenuItem(item);
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    item->trigger();
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(former, 1);
    button->hide();
    item->trigger();
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(former, 2);
    button->show();
    button->setMenuItem(nullptr);
    item->trigger();
    EXPECT_EQ(clicked.count(), 1);
    button->setMenuItem(item);
    delete item;  // the link is simply dropped
    EXPECT_EQ(button->menuItem(), nullptr);
}

TEST(ToolButton, HotTrackingAndHintsAndNoFocus) {
    QWidget window;
    auto* button = new TToolBtnSig(QStringLiteral("Save"), &window);
    button->setShowBorderWhenInactive(true);
    window.show();
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    QSignalSpy entered(button, &TToolBtnSig::mouseEnter);
    QSignalSpy left(button, &TToolBtnSig::mouseExit);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(button, &enter);
    EXPECT_TRUE(button->isHot());
    EXPECT_EQ(entered.count(), 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->isHot());
    EXPECT_EQ(left.count(), 1);
    // A press fires the enter first when the mouse had not been seen.
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(entered.count(), 2);
}

TEST(ToolButton, DisplayModesDrawWhatTheySay) {
    QWidget window;
    auto* button = new TToolBtnSig(QStringLiteral("Save"), &window);
    button->setGeometry(0, 0, 80, 24);
    button->setGlyph(ImageList_Btn().Pixmap(BtnImage::Save));
    EXPECT_EQ(button->numGlyphs(), 2);
    window.show();
    button->setDisplayMode(dmBoth);
    const QImage both = button->grab().toImage();
    button->setDisplayMode(dmGlyphOnly);
    const QImage glyph = button->grab().toImage();
    button->setDisplayMode(dmTextOnly);
    const QImage text = button->grab().toImage();
    EXPECT_NE(both, glyph);
    EXPECT_NE(both, text);
    EXPECT_NE(glyph, text);
    button->setEnabled(false);  // the disabled picture is the second of the strip
    button->setDisplayMode(dmGlyphOnly);
    EXPECT_NE(button->grab().toImage(), glyph);
}

TEST(ToolButton, ACaptionIsNeverCut) {
    QWidget window;
    auto* button = new TToolBtnSig(QStringLiteral("Auto Off"), &window);
    button->setGlyph(ImageList_Btn().Pixmap(BtnImage::AutoOff));
    button->setDisplayMode(dmBoth);
    window.show();
    const int text = button->fontMetrics().horizontalAdvance(button->text());
    auto expectWhole = [&] {
        const QRect caption = button->CaptionRect();
        ASSERT_FALSE(caption.isEmpty());
        EXPECT_GE(caption.width(), QFontMetrics(button->CaptionFont()).horizontalAdvance(button->text()));
        EXPECT_TRUE(button->rect().contains(caption));
    };
    // Room for both: picture and caption.
    button->setGeometry(0, 0, text + 16 + 4 + 8, 24);
    EXPECT_TRUE(button->GlyphShown());
    EXPECT_EQ(button->CaptionFont(), button->font());
    expectWhole();
    // Room for the caption only: the picture gives way.
    button->setGeometry(0, 0, text + 6, 24);
    EXPECT_FALSE(button->GlyphShown());
    EXPECT_EQ(button->CaptionFont(), button->font());
    expectWhole();
    // Not even that: the caption is drawn smaller, whole.
    button->setGeometry(0, 0, text * 4 / 5 + 4, 24);
    EXPECT_LT(button->CaptionFont().pointSizeF(), button->font().pointSizeF());
    expectWhole();
    // Below the least font there is nothing left to give; the picture-only mode has no caption.
    button->setDisplayMode(dmGlyphOnly);
    EXPECT_TRUE(button->CaptionRect().isEmpty());
    EXPECT_TRUE(button->GlyphShown());
}

TEST(ToolButton, ApplyPanelButtonOptions) {
    QWidget window;
    TPanelResize panel(&window);
    auto* save = new TToolBtnSig(QStringLiteral("Save"), &panel);
    save->setTag(BtnImage::Save);
    auto* timer = new TToolBtnSig(QStringLiteral("00:00"), &panel);
    timer->setTag(-1);
    const QPixmap own = ImageList_16x16().Pixmap(StateImage::GreyTick);
    timer->setGlyph(own);
    QWidget inner(&panel);
    auto* nested = new TToolBtnSig(QStringLiteral("Nested"), &inner);
    nested->setTag(BtnImage::Delete);

    ApplyPanelButtonOptions(&panel, ButtonOptions{false, true, false});
    EXPECT_EQ(save->displayMode(), dmGlyphOnly);
    EXPECT_EQ(save->glyph().size(), QSize(32, 16));
    EXPECT_EQ(save->glyph().toImage().convertToFormat(QImage::Format_ARGB32), ImageList_Btn().Image(BtnImage::Save));
    EXPECT_EQ(save->numGlyphs(), 2);
    EXPECT_FALSE(save->showHint());
    EXPECT_EQ(timer->displayMode(), dmBoth);  // tag -1: keeps its picture, shows both
    EXPECT_EQ(timer->glyph().cacheKey(), own.cacheKey());
    EXPECT_EQ(timer->numGlyphs(), 1);
    EXPECT_TRUE(nested->glyph().isNull());  // only the panel's own buttons

    ApplyPanelButtonOptions(&panel, ButtonOptions{true, false, true});
    EXPECT_EQ(save->displayMode(), dmTextOnly);
    EXPECT_TRUE(save->showHint());
    EXPECT_EQ(timer->displayMode(), dmBoth);
    EXPECT_EQ(timer->text(), QStringLiteral("00:00"));
    ApplyPanelButtonOptions(&panel, ButtonOptions{true, true, true});
    EXPECT_EQ(save->displayMode(), dmBoth);
    ApplyPanelButtonOptions(&panel, ButtonOptions{true, false, false});
    EXPECT_EQ(save->displayMode(), dmTextOnly);
    // A tag beyond the list gives no picture rather than a wrong one.
    save->setTag(999);
    ApplyPanelButtonOptions(&panel, ButtonOptions{});
    EXPECT_TRUE(save->glyph().isNull());
    EXPECT_EQ(save->numGlyphs(), 1);
}

TEST(Icons, ListsHaveTheirSizesAndLooks) {
    const ImageList& buttons = ImageList_Btn();
    EXPECT_EQ(buttons.Count(), BtnImage::ImageCount);
    for (int i = 0; i < buttons.Count(); ++i) {
        const QImage strip = buttons.Image(i);
        ASSERT_EQ(strip.size(), QSize(32, 16)) << i;
        int normal = 0, disabled = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                normal += qAlpha(strip.pixel(x, y)) > 0;
                const QRgb d = strip.pixel(x + 16, y);
                if (qAlpha(d) > 0) {
                    ++disabled;
                    EXPECT_EQ(qRed(d), qGreen(d)) << i;  // grey
                }
            }
        EXPECT_GT(normal, 20) << i;
        EXPECT_GT(disabled, 0) << i;
    }
    EXPECT_TRUE(buttons.Image(-1).isNull());
    EXPECT_TRUE(buttons.Pixmap(buttons.Count()).isNull());

    const ImageList& ingots = ImageList_Ingot();
    ASSERT_EQ(ingots.Count(), 9);
    EXPECT_EQ(ingots.Width(), 16);
    // Gold is the yellowest, Valorite the bluest.
    auto centre = [&](int i) { return ingots.Image(i).pixelColor(8, 10); };
    EXPECT_GT(centre(5).red(), centre(5).blue() + 100);
    EXPECT_GT(centre(8).blue(), centre(8).red() + 60);

    const ImageList& states = ImageList_16x16();
    ASSERT_EQ(states.Count(), 4);
    int visible = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) visible += qAlpha(states.Image(0).pixel(x, y)) > 0;
    EXPECT_EQ(visible, 0);
    auto dominant = [&](int i) {
        long r = 0, g = 0, b = 0;
        const QImage im = states.Image(i);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (qAlpha(im.pixel(x, y)) > 200) {
                    r += qRed(im.pixel(x, y));
                    g += qGreen(im.pixel(x, y));
                    b += qBlue(im.pixel(x, y));
                }
        return std::array<long, 3>{r, g, b};
    };
    EXPECT_GT(dominant(1)[1], dominant(1)[0] * 2);  // green tick
    EXPECT_GT(dominant(2)[0], dominant(2)[1] * 2);  // red cross
    EXPECT_EQ(dominant(3)[0], dominant(3)[1]);      // grey tick

    const QIcon app = AppIcon();
    EXPECT_FALSE(app.isNull());
    EXPECT_GE(app.availableSizes().size(), 5);
    EXPECT_EQ(AppIconImage(48).size(), QSize(48, 48));
}

}  // namespace
}  // namespace stallmark
