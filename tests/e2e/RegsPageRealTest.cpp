// The Regs page typed into and clicked through the real X server: amounts and
// prices typed, the link spreading the typed amount, and the exact bytes the
// game's stand-in receives from a send button, F2 and the quantity menu.

#include <X11/keysym.h>

#include "controls/CaptionedControls.h"
#include "e2e/RealApp.h"

namespace stallmark::e2e {
namespace {

class RegsPageReal : public RealAppTest {
protected:
    void Open() {
        settings.WriteInteger("BackSpc", 2);  // three backspaces before each line
        StartWindow();
        ShowPage("Tab_Regs");
    }
    // Clicks into a box and types over what it holds.
    void TypeInto(const char* box, const QString& text) {
        ASSERT_TRUE(desktop.Click(Find<QWidget>(box)));
        ASSERT_TRUE(desktop.Key(XK_a, kControl));
        ASSERT_TRUE(desktop.Type(text));
    }
    QString Text(const char* box) { return Find<QLineEdit>(box)->text(); }
};

TEST_F(RegsPageReal, TypedAmountAndPriceAreSentByteForByte) {
    Open();
    TypeInto("Ed_RegAmtGl", QStringLiteral("250"));
    // The link spreads the typed amount to every reagent.
    for (const char* box : {"Ed_RegAmtBp", "Ed_RegAmtGl", "Ed_RegAmtSa"}) EXPECT_EQ(Text(box), QStringLiteral("250"));
    TypeInto("Ed_RegPrcGl", QStringLiteral("4x5"));  // digits only
    EXPECT_EQ(Text("Ed_RegPrcGl"), QStringLiteral("45"));
    EXPECT_EQ(Text("Ed_RegTotGl"), QStringLiteral("11250"));
    ClickButton("Btn_RegGl");
    std::string expected = "\b\b\b11250,250 Garlic\r";
    EXPECT_EQ(game->WaitForLog(expected.size()), expected);

    // F2 sends the reagent whose box was focused last.
    TypeInto("Ed_RegPrcMn", QStringLiteral("3"));
    ASSERT_TRUE(desktop.Key(XK_F2));
    expected += "\b\b\b750,250 Mandrake\r";
    EXPECT_EQ(game->WaitForLog(expected.size()), expected);

    // The quantity menu of Nightshade: 100 becomes every amount, and Nightshade goes.
    TypeInto("Ed_RegPrcNs", QStringLiteral("2"));
    auto* quantity = Find<QWidget>("Btn_RegNsQ");
    ASSERT_TRUE(desktop.Click(quantity));
    auto* menu = Find<QMenu>("Popup_Regs");
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible() && menu->windowHandle()->isExposed(); }));
    QAction* hundred = menu->findChild<QAction*>(QStringLiteral("Mp_Reg100"));
    ASSERT_NE(hundred, nullptr);
    ASSERT_TRUE(desktop.Click(menu, menu->actionGeometry(hundred).center()));
    expected += "\b\b\b200,100 Nightshade\r";
    EXPECT_EQ(game->WaitForLog(expected.size()), expected);
    for (const char* box : {"Ed_RegAmtBp", "Ed_RegAmtNs", "Ed_RegAmtSa"}) EXPECT_EQ(Text(box), QStringLiteral("100"));
    EXPECT_EQ(Text("Ed_RegTotGl"), QStringLiteral("4500"));
    form->close();
    EXPECT_EQ(settings.ReadInteger("Reg GlPrc", 0), 45);
    EXPECT_EQ(settings.ReadInteger("Reg NsAmt", 0), 100);
}

}  // namespace
}  // namespace stallmark::e2e
