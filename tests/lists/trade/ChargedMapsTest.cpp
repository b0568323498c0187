#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>

#include "lists/trade/VendorFixture.h"
#include "store/Files.h"

namespace stallmark::test {

using namespace Qt::StringLiterals;

namespace {

const std::string kWands = "Wand of fireball,100,Charges\r\nLightning wand,80,Uses\r\n";
const std::string kMaps = "Ogre,2,800\r\nDaemon,5,12000\r\n";

QStringList Entries(QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

}  // namespace

// --- charged items ---

TEST(ChargedItems, LoadsSortedAfterNoneAndShowsAChosenItem) {
    VendorFixture f({.charged = kWands + ",5,Blank name\r\nbad price,1x,Charges\r\n"});
    QComboBox* items = f.Combo("Cb_ChargeItem");
    EXPECT_EQ(Entries(items), QStringList({u"(None)"_s, u"bad price"_s, u"Lightning wand"_s, u"Wand of fireball"_s}));
    EXPECT_EQ(items->maxVisibleItems(), 4);
    EXPECT_EQ(items->currentText(), u""_s);
    EXPECT_EQ(f.Edit("Ed_ChargeSuffix")->text(), u"Charges"_s);

    f.Activate();
    f.Choose("Cb_ChargeItem", u"Lightning wand"_s);
    EXPECT_EQ(f.Edit("Ed_ChargePrice")->text(), u"80"_s);
    EXPECT_EQ(f.Edit("Ed_ChargeSuffix")->text(), u"Uses"_s);
    EXPECT_TRUE(f.Edit("Ed_ChargeCharges")->hasFocus());
    f.Choose("Cb_ChargeItem", u"bad price"_s);
    EXPECT_EQ(f.Edit("Ed_ChargePrice")->text(), u"0"_s);

    // "(None)" empties the name and the price.
    f.Choose("Cb_ChargeItem", u"(None)"_s);
    EXPECT_EQ(items->currentText(), u""_s);
    EXPECT_EQ(items->currentIndex(), -1);
    EXPECT_EQ(f.Edit("Ed_ChargePrice")->text(), u""_s);
}

TEST(ChargedItems, AKnownNameTypedShowsItsPriceAndTheTypingGoesOn) {
    VendorFixture f({.charged = "Wand,50,Uses\r\n" + kWands});
    f.Activate();
    QLineEdit* name = f.Combo("Cb_ChargeItem")->lineEdit();
    name->setFocus();
    // Typing "Wand" on the way to a longer name: the known item shows, the keys stay here.
    QTest::keyClicks(name, u"Wand"_s);
    EXPECT_EQ(f.Edit("Ed_ChargePrice")->text(), u"50"_s);
    EXPECT_EQ(f.Edit("Ed_ChargeSuffix")->text(), u"Uses"_s);
    EXPECT_TRUE(name->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), u" of frost"_s);
    EXPECT_EQ(f.Combo("Cb_ChargeItem")->currentText(), u"Wand of frost"_s);
    EXPECT_EQ(f.Edit("Ed_ChargePrice")->text(), u"50"_s);  // a name no item has changes nothing

    f.TypeInto("Ed_ChargeCharges", u"4"_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.Posted(), kBackspaces + "200,Wand of frost - 4 Uses\r");
    EXPECT_EQ(f.dir.Read("Charged.dat"),
              "Wand of frost,50,Uses\r\nLightning wand,80,Uses\r\nWand,50,Uses\r\nWand of fireball,100,Charges\r\n");
}

TEST(ChargedItems, DropDownShowsTwentyLinesAtMostAndOneAtLeast) {
    std::string many;
    for (int i = 0; i < 25; ++i) many += "Wand " + std::to_string(i) + ",1,Charges\r\n";
    VendorFixture f({.charged = many});
    EXPECT_EQ(f.Combo("Cb_ChargeItem")->maxVisibleItems(), 20);
    VendorFixture none;
    EXPECT_EQ(none.Combo("Cb_ChargeItem")->maxVisibleItems(), 1);
}

TEST(ChargedItems, ANewItemIsSentAndWrittenFirst) {
    VendorFixture f({.charged = kWands});
    f.TypeInto("Cb_ChargeItem", u"Staff of healing"_s);
    f.TypeInto("Ed_ChargePrice", u"100"_s);
    f.TypeInto("Ed_ChargeCharges", u"25"_s);
    f.TypeInto("Ed_ChargeSuffix", u"Uses"_s);
    EXPECT_EQ(f.Edit("Ed_ChargeValue")->text(), u"2500"_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.Posted(), kBackspaces + "2500,Staff of healing - 25 Uses\r");
    EXPECT_EQ(f.dir.Read("Charged.dat"),
              "Staff of healing,100,Uses\r\nLightning wand,80,Uses\r\nWand of fireball,100,Charges\r\n");
    EXPECT_EQ(f.Combo("Cb_ChargeItem")->currentText(), u"Staff of healing"_s);
    EXPECT_GE(f.Combo("Cb_ChargeItem")->currentIndex(), 1);
}

TEST(ChargedItems, ANewPriceOfAKnownItemIsStored) {
    VendorFixture f({.charged = kWands});
    f.Choose("Cb_ChargeItem", u"Wand of fireball"_s);
    f.TypeInto("Ed_ChargePrice", u"120"_s);
    f.TypeInto("Ed_ChargeCharges", u"10"_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.Posted(), kBackspaces + "1200,Wand of fireball - 10 Charges\r");
    EXPECT_EQ(f.dir.Read("Charged.dat"), "Lightning wand,80,Uses\r\nWand of fireball,120,Charges\r\n");
}

TEST(ChargedItems, ANameDifferingOnlyInCaseIsNeitherAddedNorUpdated) {
    VendorFixture f({.charged = kWands});
    f.TypeInto("Cb_ChargeItem", u"wand of FIREBALL"_s);
    // The typed name is that item's: its price and suffix show.
    EXPECT_EQ(f.Edit("Ed_ChargePrice")->text(), u"100"_s);
    f.TypeInto("Ed_ChargePrice", u"150"_s);
    f.TypeInto("Ed_ChargeCharges", u"2"_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.dir.Read("Charged.dat"), "Lightning wand,80,Uses\r\nWand of fireball,100,Charges\r\n");
    EXPECT_EQ(f.Combo("Cb_ChargeItem")->currentText(), u"Wand of fireball"_s);
    EXPECT_EQ(f.Posted(), kBackspaces + "300,Wand of fireball - 2 Charges\r");
}

TEST(ChargedItems, AValueOfZeroSendsAndStoresNothing) {
    VendorFixture f({.charged = kWands});
    f.Activate();
    f.TypeInto("Cb_ChargeItem", u"Staff"_s);
    f.TypeInto("Ed_ChargePrice", u"100"_s);
    f.Click("Btn_ChargeSend");  // no charges
    // In every case the charges box takes the typing next, its text selected.
    EXPECT_TRUE(f.Edit("Ed_ChargeCharges")->hasFocus());
    f.TypeInto("Ed_ChargeCharges", u"abc"_s);
    f.Click("Btn_ChargeSend");  // the box takes digits only: still none
    f.TypeInto("Ed_ChargeCharges", u"0"_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.Edit("Ed_ChargeValue")->text(), u"0"_s);
    EXPECT_EQ(f.Posted(), "");
    EXPECT_EQ(f.dir.Read("Charged.dat"), kWands);
}

TEST(ChargedItems, PricesAndValuesBeyond32BitsStayWhole) {
    VendorFixture f({.charged = kWands});
    f.TypeInto("Cb_ChargeItem", u"Big wand"_s);
    f.TypeInto("Ed_ChargePrice", u"100000"_s);
    f.TypeInto("Ed_ChargeCharges", u"50000"_s);
    EXPECT_EQ(f.Edit("Ed_ChargeValue")->text(), u"5000000000"_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.Posted(), kBackspaces + "5000000000,Big wand - 50000 Charges\r");

    // A ten-digit price is stored, read back and written again as it is.
    f.windows.ClearLog();
    f.TypeInto("Ed_ChargePrice", u"3000000000"_s);
    f.TypeInto("Ed_ChargeCharges", u"1"_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.Posted(), kBackspaces + "3000000000,Big wand - 1 Charges\r");
    f.Choose("Cb_ChargeItem", u"Lightning wand"_s);
    f.TypeInto("Ed_ChargeCharges", u"1"_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.dir.Read("Charged.dat"),
              "Big wand,3000000000,Charges\r\nLightning wand,80,Uses\r\nWand of fireball,100,Charges\r\n");
    f.Choose("Cb_ChargeItem", u"Big wand"_s);
    EXPECT_EQ(f.Edit("Ed_ChargePrice")->text(), u"3000000000"_s);

    // A product beyond 64 bits is no value: nothing is sent.
    f.windows.ClearLog();
    f.TypeInto("Ed_ChargePrice", u"9999999999"_s);
    f.TypeInto("Ed_ChargeCharges", u"9999999999"_s);
    EXPECT_EQ(f.Edit("Ed_ChargeValue")->text(), u""_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.Posted(), "");
}

TEST(ChargedItems, CommasInANewNameOrSuffixAreStoredAsBlanks) {
    VendorFixture f({.charged = ""});
    f.TypeInto("Cb_ChargeItem", u" Wand, big "_s);
    f.TypeInto("Ed_ChargePrice", u"7"_s);
    f.TypeInto("Ed_ChargeCharges", u"3"_s);
    f.TypeInto("Ed_ChargeSuffix", u"Uses, left"_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.dir.Read("Charged.dat"), "Wand  big,7,Uses  left\r\n");
    EXPECT_EQ(f.Posted(), kBackspaces + "21,Wand  big - 3 Uses  left\r");
    EXPECT_EQ(Entries(f.Combo("Cb_ChargeItem")), QStringList({u"(None)"_s, u"Wand  big"_s}));

    // A name that is only commas names nothing: nothing is stored or sent.
    f.windows.ClearLog();
    f.TypeInto("Cb_ChargeItem", u",,"_s);
    f.Click("Btn_ChargeSend");
    EXPECT_EQ(f.Posted(), "");
    EXPECT_EQ(f.dir.Read("Charged.dat"), "Wand  big,7,Uses  left\r\n");
}

TEST(ChargedItems, DeleteRemovesTheItemWithoutAsking) {
    VendorFixture f({.charged = kWands});
    f.Choose("Cb_ChargeItem", u"Lightning wand"_s);
    f.Click("Btn_ChargeDelete");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.dir.Read("Charged.dat"), "Wand of fireball,100,Charges\r\n");
    EXPECT_EQ(f.Combo("Cb_ChargeItem")->currentText(), u""_s);
    EXPECT_EQ(f.Edit("Ed_ChargePrice")->text(), u""_s);
    EXPECT_EQ(f.Edit("Ed_ChargeSuffix")->text(), u"Charges"_s);

    // "(None)" or no name: nothing happens.
    f.Choose("Cb_ChargeItem", u"(None)"_s);
    f.Click("Btn_ChargeDelete");
    f.TypeInto("Cb_ChargeItem", u"(None)"_s);
    f.Click("Btn_ChargeDelete");
    EXPECT_EQ(f.dir.Read("Charged.dat"), "Wand of fireball,100,Charges\r\n");
}

TEST(ChargedItems, AListWhoseFileWasNeverReadIsNeitherWrittenNorSent) {
    VendorFixture f({.charged = kWands, .maps = kMaps}, false);
    f.game = f.windows.AddWindow("Ultima Online", "Ultima Online - Ann");
    f.TypeInto("Cb_ChargeItem", u"Staff"_s);
    f.TypeInto("Ed_ChargePrice", u"10"_s);
    f.TypeInto("Ed_ChargeCharges", u"2"_s);
    f.Click("Btn_ChargeSend");
    f.TypeInto("Cb_MapMonst", u"Lich"_s);
    f.Click("Btn_MapSend");
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_TRUE(f.dialogs.boxes[0].text.startsWith(u"Charged.dat could not be read"_s));
    EXPECT_TRUE(f.dialogs.boxes[1].text.startsWith(u"Maps.dat could not be read"_s));
    EXPECT_EQ(f.Posted(), "");
    EXPECT_EQ(f.dir.Read("Charged.dat"), kWands);
    EXPECT_EQ(f.dir.Read("Maps.dat"), kMaps);
}

TEST(ChargedItems, AReadOnlyFileIsReportedAndNothingIsSent) {
    VendorFixture f({.charged = kWands});
    std::filesystem::permissions(f.dir.Path() / "Charged.dat", std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::replace);
    f.Choose("Cb_ChargeItem", u"Wand of fireball"_s);
    f.TypeInto("Ed_ChargePrice", u"90"_s);
    f.TypeInto("Ed_ChargeCharges", u"5"_s);
    f.Click("Btn_ChargeSend");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Error);
    EXPECT_EQ(f.Posted(), "");
    EXPECT_EQ(f.dir.Read("Charged.dat"), kWands);
}

// A line longer than the most a list loads is said once at start-up; the list is then
// never written, so the long line stays whole, and nothing is sent.
TEST(ChargedItems, ListsWithAnOverlongLineAreNeverWritten) {
    const std::string charged = kWands + "Staff," + std::string(kMaxLineBytes, '9') + "\r\n";
    const std::string maps = kMaps + "Lich,3," + std::string(kMaxLineBytes, '9') + "\r\n";
    VendorFixture f({.charged = charged, .maps = maps});
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_TRUE(f.dialogs.boxes[0].text.startsWith(u"Line 3 of Maps.dat is longer than 65536"_s));
    EXPECT_TRUE(f.dialogs.boxes[1].text.startsWith(u"Line 3 of Charged.dat is longer than 65536"_s));

    f.Choose("Cb_ChargeItem", u"Wand of fireball"_s);
    f.TypeInto("Ed_ChargePrice", u"90"_s);
    f.TypeInto("Ed_ChargeCharges", u"5"_s);
    f.Click("Btn_ChargeSend");
    ASSERT_EQ(f.dialogs.boxes.size(), 3u);
    EXPECT_EQ(f.dialogs.boxes[2].kind, MsgKind::Error);
    EXPECT_TRUE(f.dialogs.boxes[2].text.startsWith(u"Charged.dat holds lines too long to load whole"_s));

    f.TypeInto("Cb_MapMonst", u"Ghoul"_s);
    f.Click("Btn_MapSend");
    ASSERT_EQ(f.dialogs.boxes.size(), 4u);
    EXPECT_TRUE(f.dialogs.boxes[3].text.startsWith(u"Maps.dat holds lines too long to load whole"_s));
    EXPECT_EQ(f.Posted(), "");
    EXPECT_EQ(f.dir.Read("Charged.dat"), charged);
    EXPECT_EQ(f.dir.Read("Maps.dat"), maps);
}

// --- treasure maps ---

TEST(TreasureMaps, ANewMapIsSentAndWrittenFirst) {
    VendorFixture f({.maps = kMaps});
    f.TypeInto("Cb_MapMonst", u"Lich"_s);
    f.Choose("Cb_MapLevel", u"3"_s);
    EXPECT_EQ(f.Combo("Cb_MapType")->currentText(), u"Adeptly Drawn"_s);
    f.TypeInto("Ed_MapValue", u"5000"_s);
    f.Click("Btn_MapSend");
    EXPECT_EQ(f.Posted(), kBackspaces + "5000,Lich Map - Level 3\r");
    EXPECT_EQ(f.dir.Read("Maps.dat"), "Lich,3,5000\r\nDaemon,5,12000\r\nOgre,2,800\r\n");
    EXPECT_EQ(f.Combo("Cb_MapMonst")->currentText(), u"Lich"_s);
}

TEST(TreasureMaps, LevelAndTypeMoveTogether) {
    VendorFixture f({.maps = kMaps});
    QComboBox* level = f.Combo("Cb_MapLevel");
    QComboBox* type = f.Combo("Cb_MapType");
    EXPECT_EQ(Entries(level), QStringList({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}));
    EXPECT_EQ(Entries(type), QStringList({u"Plainly Drawn"_s, u"Expertly Drawn"_s, u"Adeptly Drawn"_s,
                                          u"Cleverly Drawn"_s, u"Deviously Drawn"_s}));
    int levelChanges = 0, typeChanges = 0;
    QObject::connect(level, &QComboBox::currentIndexChanged, [&] { ++levelChanges; });
    QObject::connect(type, &QComboBox::currentIndexChanged, [&] { ++typeChanges; });
    f.Choose("Cb_MapType", u"Cleverly Drawn"_s);
    EXPECT_EQ(level->currentText(), u"4"_s);
    f.Choose("Cb_MapLevel", u"2"_s);
    EXPECT_EQ(type->currentText(), u"Expertly Drawn"_s);
    // Each choice moved the other box once: they never answer each other.
    EXPECT_EQ(levelChanges, 2);
    EXPECT_EQ(typeChanges, 2);
}

TEST(TreasureMaps, AChosenMapShowsItsLevelTypeAndValueAndNoneClearsThem) {
    VendorFixture f({.maps = kMaps + "Odd,7,x\r\n"});
    f.Choose("Cb_MapMonst", u"Ogre"_s);
    EXPECT_EQ(f.Combo("Cb_MapLevel")->currentText(), u"2"_s);
    EXPECT_EQ(f.Combo("Cb_MapType")->currentText(), u"Expertly Drawn"_s);
    EXPECT_EQ(f.Edit("Ed_MapValue")->text(), u"800"_s);
    // No such level: none, and no type.
    f.Choose("Cb_MapMonst", u"Odd"_s);
    EXPECT_EQ(f.Combo("Cb_MapLevel")->currentIndex(), -1);
    EXPECT_EQ(f.Combo("Cb_MapType")->currentIndex(), -1);
    EXPECT_EQ(f.Edit("Ed_MapValue")->text(), u"0"_s);

    f.Choose("Cb_MapMonst", u"Daemon"_s);
    f.Choose("Cb_MapMonst", u"(None)"_s);
    EXPECT_EQ(f.Combo("Cb_MapMonst")->currentText(), u""_s);
    EXPECT_EQ(f.Combo("Cb_MapLevel")->currentIndex(), -1);
    EXPECT_EQ(f.Combo("Cb_MapType")->currentIndex(), -1);
    EXPECT_EQ(f.Edit("Ed_MapValue")->text(), u""_s);

    // Typed text keeps the text and clears the rest.
    f.Choose("Cb_MapMonst", u"Daemon"_s);
    QTest::keyClicks(f.Combo("Cb_MapMonst")->lineEdit(), u"s"_s);
    EXPECT_EQ(f.Combo("Cb_MapMonst")->currentText(), u"Daemons"_s);
    EXPECT_EQ(f.Combo("Cb_MapMonst")->currentIndex(), -1);
    EXPECT_EQ(f.Combo("Cb_MapLevel")->currentIndex(), -1);
    EXPECT_EQ(f.Edit("Ed_MapValue")->text(), u""_s);
}

TEST(TreasureMaps, AKnownNameTypedShowsThatMapAndSendKeepsIt) {
    VendorFixture f({.maps = kMaps});
    // Typed, not chosen: the map shows all the same, and Send stores what it holds.
    f.TypeInto("Cb_MapMonst", u"Daemon"_s);
    EXPECT_EQ(f.Combo("Cb_MapLevel")->currentText(), u"5"_s);
    EXPECT_EQ(f.Combo("Cb_MapType")->currentText(), u"Deviously Drawn"_s);
    EXPECT_EQ(f.Edit("Ed_MapValue")->text(), u"12000"_s);
    f.Click("Btn_MapSend");
    EXPECT_EQ(f.Posted(), kBackspaces + "12000,Daemon Map - Level 5\r");
    EXPECT_EQ(f.dir.Read("Maps.dat"), "Daemon,5,12000\r\nOgre,2,800\r\n");

    // A new value typed after the name is stored for that map.
    f.windows.ClearLog();
    f.TypeInto("Cb_MapMonst", u"  ogre"_s);
    EXPECT_EQ(f.Edit("Ed_MapValue")->text(), u"800"_s);
    f.TypeInto("Cb_MapMonst", u"Ogre"_s);
    f.TypeInto("Ed_MapValue", u"950"_s);
    f.Click("Btn_MapSend");
    EXPECT_EQ(f.dir.Read("Maps.dat"), "Daemon,5,12000\r\nOgre,2,950\r\n");
    EXPECT_EQ(f.Posted(), kBackspaces + "950,Ogre Map - Level 2\r");
}

TEST(TreasureMaps, ATenDigitValueSurvivesARestart) {
    std::string stored;
    {
        VendorFixture f({.maps = kMaps});
        f.TypeInto("Cb_MapMonst", u"Dragon"_s);
        f.Choose("Cb_MapLevel", u"5"_s);
        f.TypeInto("Ed_MapValue", u"9876543210"_s);
        f.Click("Btn_MapSend");
        EXPECT_EQ(f.Posted(), kBackspaces + "9876543210,Dragon Map - Level 5\r");
        stored = f.dir.Read("Maps.dat");
    }
    EXPECT_EQ(stored, "Dragon,5,9876543210\r\nDaemon,5,12000\r\nOgre,2,800\r\n");
    VendorFixture again({.maps = stored});
    again.Choose("Cb_MapMonst", u"Dragon"_s);
    EXPECT_EQ(again.Edit("Ed_MapValue")->text(), u"9876543210"_s);
    again.Choose("Cb_MapMonst", u"Ogre"_s);
    again.Click("Btn_MapSend");
    EXPECT_EQ(again.dir.Read("Maps.dat"), "Daemon,5,12000\r\nDragon,5,9876543210\r\nOgre,2,800\r\n");
}

TEST(TreasureMaps, ANameDifferingOnlyInCaseSendsTheKnownMapUnchanged) {
    VendorFixture f({.maps = kMaps});
    f.TypeInto("Cb_MapMonst", u"ogre"_s);
    f.Choose("Cb_MapLevel", u"4"_s);
    f.TypeInto("Ed_MapValue", u"1"_s);
    f.Click("Btn_MapSend");
    EXPECT_EQ(f.dir.Read("Maps.dat"), "Daemon,5,12000\r\nOgre,2,800\r\n");
    EXPECT_EQ(f.Combo("Cb_MapMonst")->currentText(), u"Ogre"_s);
    // The boxes and the line show the map as it is stored.
    EXPECT_EQ(f.Combo("Cb_MapLevel")->currentText(), u"2"_s);
    EXPECT_EQ(f.Edit("Ed_MapValue")->text(), u"800"_s);
    EXPECT_EQ(f.Posted(), kBackspaces + "800,Ogre Map - Level 2\r");
}

TEST(TreasureMaps, TheLineFollowsTheRegsRowOfTheOptions) {
    VendorFixture f({.maps = kMaps});
    f.options.backSpc = 0;
    f.options.sendRows[6].value = false;
    f.Choose("Cb_MapMonst", u"Ogre"_s);
    f.Click("Btn_MapSend");
    EXPECT_EQ(f.Posted(), "Ogre Map - Level 2\r");
    f.windows.ClearLog();
    f.options.sendRows[6] = {.value = true, .description = false, .enter = false};
    f.Click("Btn_MapSend");
    EXPECT_EQ(f.Posted(), "800");
}

TEST(TreasureMaps, CommasInANewNameAreStoredAsBlanksAndDeleteTakesAMapOut) {
    VendorFixture f({.maps = kMaps});
    f.TypeInto("Cb_MapMonst", u"Lich, elder"_s);
    f.Choose("Cb_MapLevel", u"3"_s);
    f.TypeInto("Ed_MapValue", u"700"_s);
    f.Click("Btn_MapSend");
    EXPECT_EQ(f.dir.Read("Maps.dat"), "Lich  elder,3,700\r\nDaemon,5,12000\r\nOgre,2,800\r\n");
    EXPECT_EQ(f.Posted(), kBackspaces + "700,Lich  elder Map - Level 3\r");

    f.Choose("Cb_MapMonst", u"Daemon"_s);
    f.Click("Btn_MapDelete");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.dir.Read("Maps.dat"), "Lich  elder,3,700\r\nOgre,2,800\r\n");
    EXPECT_EQ(f.Combo("Cb_MapMonst")->currentText(), u""_s);
    EXPECT_EQ(f.Combo("Cb_MapLevel")->currentIndex(), -1);
    EXPECT_EQ(f.Edit("Ed_MapValue")->text(), u""_s);
    f.Click("Btn_MapDelete");  // no name: nothing
    EXPECT_EQ(f.dir.Read("Maps.dat"), "Lich  elder,3,700\r\nOgre,2,800\r\n");
}

TEST(TreasureMaps, AReadOnlyFileIsReportedAndNothingIsSent) {
    VendorFixture f({.maps = kMaps});
    std::filesystem::permissions(f.dir.Path() / "Maps.dat", std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::replace);
    f.TypeInto("Cb_MapMonst", u"Lich"_s);
    f.Click("Btn_MapSend");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Error);
    EXPECT_EQ(f.Posted(), "");
    EXPECT_EQ(f.dir.Read("Maps.dat"), kMaps);
}

// --- the page ---

TEST(VendorPage, SendToGameGoesByTheBoxThatHasTheFocus) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n,Ann,Shop,5\r\n", .charged = kWands, .maps = kMaps});
    f.options.backSpc = 0;
    f.Choose("Cb_ChargeItem", u"Lightning wand"_s);
    f.TypeInto("Ed_ChargeCharges", u"3"_s);
    f.Choose("Cb_MapMonst", u"Ogre"_s);

    f.page->SendToGame(f.Edit("Ed_ChargeCharges"));
    EXPECT_EQ(f.Posted(), "240,Lightning wand - 3 Uses\r");
    f.windows.ClearLog();
    // Deep inside the map box: the name box's own line.
    f.page->SendToGame(f.Combo("Cb_MapMonst")->lineEdit());
    EXPECT_EQ(f.Posted(), "800,Ogre Map - Level 2\r");
    f.windows.ClearLog();
    f.page->SendToGame(f.grid);
    f.page->SendToGame(f.grid->viewport());
    f.page->SendToGame(f.Edit("Ed_BankBal"));
    f.page->SendToGame(nullptr);
    EXPECT_EQ(f.Posted(), "");
}

TEST(VendorPage, PopupHidesSendToGameWhileTheVendorGridHasTheFocus) {
    VendorFixture f({.vendors = ""});
    PopupState s = f.page->Popup(f.grid->viewport());
    EXPECT_FALSE(s.sendToGame);
    EXPECT_EQ(s.list1, 11);
    EXPECT_EQ(s.list1Caption, u"Vendor List Options"_s);
    EXPECT_EQ(s.list2, 0);
    EXPECT_TRUE(s.gridResize);
    EXPECT_FALSE(s.gridResizeChecked);
    EXPECT_FALSE(s.sendToDetail);
    EXPECT_FALSE(s.hideColumns);
    EXPECT_FALSE(s.link);
    EXPECT_TRUE(f.page->Popup(f.Edit("Ed_ChargeCharges")).sendToGame);
    EXPECT_TRUE(f.page->Popup(nullptr).sendToGame);
    f.page->SetGridSizingFlag(true);
    EXPECT_TRUE(f.page->Popup(nullptr).gridResizeChecked);
    EXPECT_FALSE(f.page->AsksGridHeight());
    EXPECT_EQ(f.page->SizingGrids(), std::vector<TStringGrid*>({f.grid}));
}

TEST(VendorPage, AmountColumnTakesTheRestAndTheLowerButtonsShareTheirRow) {
    VendorFixture f({.vendors = ""});
    f.window.resize(400, 600);
    QCoreApplication::sendPostedEvents();
    auto check = [&] {
        int others = 0;
        for (int col = 0; col < TVendorLedger::kColAmount; ++col) others += f.grid->ColWidths(col) + 1;
        EXPECT_EQ(f.grid->ColWidths(TVendorLedger::kColAmount),
                  std::max(f.grid->ClientWidth() - others - 1, f.grid->MinColWidth(TVendorLedger::kColAmount)));

        QLineEdit* value = f.Edit("Ed_MapValue");
        QWidget* box = f.Find<QGroupBox>("GB_OthTMap");
        const int left = value->x() + value->width() + 1;
        const int width = std::max((box->contentsRect().right() + 1 - left) / 2 - 2, 10);
        for (auto [del, send, valueBox] : {std::tuple{"Btn_MapDelete", "Btn_MapSend", "Ed_MapValue"},
                                           std::tuple{"Btn_ChargeDelete", "Btn_ChargeSend", "Ed_ChargeValue"}}) {
            const QRect d = f.Button(del)->geometry(), s = f.Button(send)->geometry();
            EXPECT_EQ(d, QRect(left, f.Edit(valueBox)->y(), width, f.Edit(valueBox)->height())) << del;
            EXPECT_EQ(s, QRect(left + width + 1, d.y(), width, d.height())) << send;
        }
    };
    check();
    f.window.resize(338, 500);
    QCoreApplication::sendPostedEvents();
    check();
    // Wide other columns leave the Amount column as wide as nine digits need.
    f.grid->setColWidths(TVendorLedger::kColName, 900);
    f.page->Relayout();
    const int nineDigits = f.grid->fontMetrics().horizontalAdvance(u"000000000"_s);
    EXPECT_GE(f.grid->ColWidths(TVendorLedger::kColAmount), std::max(nineDigits, 40));
    EXPECT_LT(f.grid->ColWidths(TVendorLedger::kColAmount), std::max(nineDigits, 40) + 20);
}

}  // namespace stallmark::test
