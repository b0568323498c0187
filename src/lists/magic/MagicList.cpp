#include "lists/magic/MagicList.h"

#include <algorithm>

#include "controls/Icons.h"

namespace stallmark {

void MagicListDesc::Index() {
    for (auto& view : fieldNo) view.fill(0);
    for (size_t i = 0; i < stockFields.size(); ++i)
        for (auto& view : fieldNo) view[static_cast<size_t>(stockFields[i])] = static_cast<int>(i) + 1;
    fieldNo[1][static_cast<size_t>(MagicPart::DateSold)] = static_cast<int>(stockFields.size()) + 1;
    columnNo.fill(-1);
    for (size_t c = 0; c < columns.size(); ++c) columnNo[static_cast<size_t>(columns[c].role)] = static_cast<int>(c);
}

int MagicListDesc::Commas(MagicView view) const {
    return static_cast<int>(stockFields.size()) - (view == MagicView::Stock ? 1 : 0);
}

const MagicBox* MagicListDesc::Box(MagicPart part) const {
    for (const MagicBox& box : boxes)
        if (box.part == part) return &box;
    return nullptr;
}

const MagicListDesc& WeaponList() {
    static const MagicListDesc desc = [] {
        // The page's handlers under their weapon names: Btn_MWAddClick (AddClick),
        // Btn_MWDeleteClick (DeleteClick), Btn_MWEditClick (EditClick), Btn_MWSoldClick
        // (SoldClick), Btn_MWSendClick (SendClick, also the grid's double click),
        // Btn_MWListClick (ListClick), Btn_MWResetClick (ResetClick), Btn_MWSearchClick
        // (SearchClick), MWDataChanged (DataChanged), Cb_MWMagicChange (MagicChange),
        // Cb_MWOtherChange (OtherChange), Btn_WepWepClick / Btn_WepMagicClick /
        // Btn_WepAccClick / Btn_WepDurClick / Btn_MWOtherClick (PickListClick),
        // SGrid_MWDisplayClick (GridClick), SGrid_MWDisplaySelectCell (GridSelectCell),
        // Tab_MWepsResize (PageResize), Mp_ReorderClick (ReorderFiles); the operations
        // RefreshWeaponGrid (RefreshGrid), WeaponLineToRow (LineToRow), WeaponRowToLine
        // (RowToLine), WeaponRowText (RowText), ShowWeaponView (ShowView) and
        // WeaponMatchesSearch (MatchesSearch).
        MagicListDesc d{};
        d.id = ListId::Weapons;
        d.stockFile = "MWStock.dat";
        d.priceFile = "MWPrice.dat";
        d.stockFields = {MagicPart::Item,       MagicPart::Magic, MagicPart::Special, MagicPart::Accuracy,
                         MagicPart::Durability, MagicPart::Price, MagicPart::Date,    MagicPart::Other};
        d.columns = {{MagicCol::Item, "Weapon", 74},       {MagicCol::Magic, "Magic", 76},
                     {MagicCol::Accuracy, "Accuracy", 52}, {MagicCol::Durability, "Durability", 48},
                     {MagicCol::Special, "Special", 47},   {MagicCol::Other, "Other", 56},
                     {MagicCol::Date, "Date", 48},         {MagicCol::Age, "Age", 21},
                     {MagicCol::Price, "Price", 40}};
        d.boxes = {
            {MagicPart::Item, "Cb_Weapon", "Btn_WepWep", "Weapon ", "ListMwItem.dat", false, true, false, false, 0},
            {MagicPart::Magic, "Cb_MWMagic", "Btn_WepMagic", "Magic      ", "ListMwMagic.dat", true, false, false,
             false, 0},
            {MagicPart::Accuracy, "Cb_MWAcc", "Btn_WepAcc", "Accuracy", "ListMwAcc.dat", false, false, false, false, 0},
            {MagicPart::Durability, "Cb_MWDur", "Btn_WepDur", "Durability ", "ListMwDur.dat", false, false, false,
             false, 0},
            {MagicPart::Other, "Cb_MWOther", "Btn_MWOther", "Other       ", "ListMwOther.dat", false, true, true, true,
             75},
        };
        d.hasSpecial = true;
        d.soldOnStockDate = false;
        d.sendRow = 1;
        d.stockList = 1;
        d.priceList = 2;
        d.reorder = true;
        d.gbDetail = "Gb_MWDetail";
        d.gbDisplay = "Gb_Display";
        d.grid = "SGrid_MWDisplay";
        d.descLabel = "Lb_MWepDesc";
        d.descDesign = "Weapon Description";
        d.warnLabel = "Lb_MwWarn";
        d.warnCaption = "Weapon special status set to None";
        d.ckbNone = "Ckb_MWNone";
        d.ckbSilver = "Ckb_MWSilver";
        d.ckbVirtue = "Ckb_MWVirtue";
        d.edPrice = "Ed_MWPrice";
        d.priceDigitsOnly = true;
        d.gbBtn = "Gb_MWBtn";
        d.gbBtn2 = "Gb_MWBtn2";
        d.btnAdd = {"Btn_MWAdd", "Save", "Save current item", BtnImage::Save};
        d.btnDelete = {"Btn_MWDelete", "Delete", "Delete current item", BtnImage::Delete};
        d.btnEdit = {"Btn_MWEdit", "Edit", "Edit Item", BtnImage::Edit};
        d.btnSold = {"Btn_MWSold", "Sold", "Sold (Move to price list)", BtnImage::Sold};
        d.btnSend = {"Btn_MWSend", "Send", "Send to game screen", BtnImage::Send};
        d.btnList = {"Btn_MWList", "Stock", "Toggle Price / Stock lists", BtnImage::List};
        d.btnReset = {"Btn_MWReset", "Reset", "Reset (Clear detail boxes)", BtnImage::Reset};
        d.btnSearch = {"Btn_MWSearch", "Search", "Search for entered details", BtnImage::Search};
        d.btnAutoOn = {"Btn_MWAutoUpdateOn", "Auto On", "Auto search on (recommended)", BtnImage::AutoOn};
        d.btnAutoOff = {"Btn_MWAutoUpdateOff", "Auto Off", "Auto search off", BtnImage::AutoOff};
        d.noItemText = "No Weapon Entered !";
        d.rowHeight = values::MWepRowHeight;
        d.colWidths = values::MWepColWidth;
        d.autoUpdate = values::MWAutoUpdate;
        d.Index();
        return d;
    }();
    return desc;
}

}  // namespace stallmark
