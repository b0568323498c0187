#pragma once
// A magic item list (magic weapons, magic armour) described as data: its files and their
// line layout, the grid's columns, the detail boxes with their pick lists, the controls'
// names and texts, and its settings. One page implementation (TMagicPage) serves every
// description: a list that lacks a part (the armour lists have no accuracy and no special
// status) simply leaves it out of stockFields, columns and boxes, and sets hasSpecial to
// false and warnLabel to null. A description builder ends with Index().

#include <array>
#include <string>
#include <vector>

#include "lists/StoredList.h"
#include "settings/SettingValues.h"

namespace stallmark {

// The two lists a page shows: the items in stock and the items sold.
enum class MagicView { Stock, Prices };

// The parts of a record. Date is the date stocked in a stock line and the age in days when
// sold in a price line; DateSold exists in price lines only (always the last field).
enum class MagicPart { Item, Magic, Special, Accuracy, Durability, Price, Date, Other, DateSold };
inline constexpr int kMagicParts = 9;

// What a grid column shows.
enum class MagicCol { Item, Magic, Accuracy, Durability, Special, Other, Date, Age, Price };
inline constexpr int kMagicColRoles = 9;

struct MagicColumn {
    MagicCol role;
    const char* header;
    int designWidth;
};

// A detail box with the pick list behind it and the button that edits that list.
struct MagicBox {
    MagicPart part;          // Item, Magic, Accuracy, Durability or Other
    const char* boxName;     // the combo box
    const char* buttonName;  // the pick-list button beside it
    const char* buttonCaption;
    const char* pickFile;       // the pick list's file
    bool magicList = false;     // entries carry a special status (edited in the grid editor)
    bool sorted = false;        // the box keeps its entries in alphabetical order
    bool editable = false;      // free text (the Other box)
    bool keepTrailing = false;  // trailing blanks of entries survive saving
    int maxLength = 0;          // for an editable box; 0: no limit
};

// A command button of the page's two button bars.
struct MagicButton {
    const char* name;
    const char* caption;
    const char* hint;
    int image;  // picture index (tag); -1 keeps its own
};

struct MagicListDesc {
    ListId id;
    // Files, in the data folder.
    const char* stockFile;
    const char* priceFile;
    // The fields of a stock line in order; a price line has DateSold appended.
    std::vector<MagicPart> stockFields;
    std::vector<MagicColumn> columns;
    std::vector<MagicBox> boxes;  // top to bottom
    bool hasSpecial = false;      // the special status check boxes and column
    // Sold: the sold line's date sold is the day the item was stocked (not today).
    bool soldOnStockDate = false;

    // Options row of the send table, and the numbers of the stock and price display lists.
    int sendRow;
    int stockList;
    int priceList;
    // The grid menu's "Reorder" re-sorts both files (offered on the weapon page only).
    bool reorder = false;

    // Controls.
    const char* gbDetail;   // "Detail / Search"
    const char* gbDisplay;  // holds the grid; its caption names the view
    const char* grid;
    const char* descLabel;
    const char* descDesign;  // the description label's caption before the first row is shown
    const char* warnLabel;   // special status warning (null: none)
    const char* warnCaption;
    const char* ckbNone;  // special status check boxes (hasSpecial)
    const char* ckbSilver;
    const char* ckbVirtue;
    const char* edPrice;
    bool priceDigitsOnly;  // the price box takes digits only
    const char* gbBtn;     // Save, Delete, Edit, Sold, Send
    const char* gbBtn2;    // List, Reset, Search, Auto On, Auto Off
    MagicButton btnAdd, btnDelete, btnEdit, btnSold, btnSend;
    MagicButton btnList, btnReset, btnSearch, btnAutoOn, btnAutoOff;

    // Texts.
    const char* noItemText;  // Save without an item

    // Settings.
    values::Int rowHeight;
    values::IntSeries colWidths;
    values::Bool autoUpdate;

    // --- derived (Index() fills the tables once the description is complete) ---
    void Index();
    // The field number (from 1) of part in a line of view; 0 when the line has none.
    int Field(MagicPart part, MagicView view) const {
        return fieldNo[view == MagicView::Stock ? 0 : 1][static_cast<size_t>(part)];
    }
    // Commas of a line of view.
    int Commas(MagicView view) const;
    // The column index that shows role; -1 when there is none.
    int Column(MagicCol role) const { return columnNo[static_cast<size_t>(role)]; }
    bool HasPart(MagicPart part) const { return Field(part, MagicView::Stock) > 0; }
    const MagicBox* Box(MagicPart part) const;
    std::array<std::array<int, kMagicParts>, 2> fieldNo{};  // by view, by part
    std::array<int, kMagicColRoles> columnNo{};             // by role

    const char* File(MagicView view) const { return view == MagicView::Stock ? stockFile : priceFile; }
    int DisplayList(MagicView view) const { return view == MagicView::Stock ? stockList : priceList; }
};

// The magic weapon lists ("MWStock.dat", "MWPrice.dat").
const MagicListDesc& WeaponList();
// The magic armour lists ("MA1Stock.dat", "MA1Price.dat").
const MagicListDesc& ArmourList();

}  // namespace stallmark
