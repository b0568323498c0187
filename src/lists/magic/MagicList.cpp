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

const MagicListDesc& ArmourList() {
    static const MagicListDesc desc = [] {
        // The page's handlers under their armour names: Btn_MAAddClick (AddClick),
        // Btn_MADeleteClick (DeleteClick), Btn_MAEditClick (EditClick), Btn_MASoldClick
        // (SoldClick), Btn_MASendClick (SendClick, also the grid's double click),
        // Btn_MAListClick (ListClick), Btn_MAResetClick (ResetClick), Btn_MASearchClick
        // (SearchClick), MADataChanged (DataChanged), Cb_MAOtherChange (OtherChange),
        // Btn_MAItemClick / Btn_MAMagicClick / Btn_MADurClick / Btn_MAOtherClick
        // (PickListClick), SGrid_MArmDisplayClick (GridClick), SGrid_MArmDisplaySelectCell
        // (GridSelectCell), SGrid_MArmDisplayDrawCell (the grid's right-aligned Age and
        // Price columns), Tab_MArmourResize (PageResize); the operations RefreshArmourGrid
        // (RefreshGrid), ArmourLineToRow (LineToRow), ArmourRowToLine (RowToLine),
        // ArmourRowText (RowText), ShowArmourView (ShowView) and ArmourMatchesSearch
        // (MatchesSearch). No accuracy, no special status, no warning label; a sold item
        // keeps the day it was stocked as its date sold.
        MagicListDesc d{};
        d.id = ListId::Armour;
        d.stockFile = "MA1Stock.dat";
        d.priceFile = "MA1Price.dat";
        d.stockFields = {MagicPart::Item,  MagicPart::Magic, MagicPart::Durability,
                         MagicPart::Price, MagicPart::Date,  MagicPart::Other};
        d.columns = {
            {MagicCol::Item, "Item", 74},   {MagicCol::Magic, "Magic", 76}, {MagicCol::Durability, "Durability", 52},
            {MagicCol::Other, "Other", 48}, {MagicCol::Date, "Date", 47},   {MagicCol::Age, "Age", 56},
            {MagicCol::Price, "Price", 48}};
        d.boxes = {
            {MagicPart::Item, "Cb_MAItem", "Btn_MAItem", "Item        ", "ListMaItem.dat", false, true, false, false,
             0},
            {MagicPart::Magic, "Cb_MAMagic", "Btn_MAMagic", "Magic      ", "ListMaMagic.dat", false, false, false,
             false, 0},
            {MagicPart::Durability, "Cb_MADur", "Btn_MADur", "Durability ", "ListMaDur.dat", false, false, false, false,
             0},
            {MagicPart::Other, "Cb_MAOther", "Btn_MAOther", "Other       ", "ListMaOther.dat", false, true, true, true,
             75},
        };
        d.hasSpecial = false;
        d.soldOnStockDate = true;
        d.sendRow = 2;
        d.stockList = 3;
        d.priceList = 4;
        d.reorder = false;
        d.gbDetail = "Gb_MADetail";
        d.gbDisplay = "Gb_MADisplay";
        d.grid = "SGrid_MArmDisplay";
        d.descLabel = "Lb_MArmDesc";
        d.descDesign = "Armour Description";
        d.warnLabel = nullptr;
        d.warnCaption = nullptr;
        d.ckbNone = nullptr;
        d.ckbSilver = nullptr;
        d.ckbVirtue = nullptr;
        d.edPrice = "Ed_MAPrice";
        d.priceDigitsOnly = false;
        d.gbBtn = "Gb_MABtn";
        d.gbBtn2 = "Gb_MABtn2";
        d.btnAdd = {"Btn_MAAdd", "Save", "Save current item", BtnImage::Save};
        d.btnDelete = {"Btn_MADelete", "Delete", "Delete current item", BtnImage::Delete};
        d.btnEdit = {"Btn_MAEdit", "Edit", "Edit value", BtnImage::Edit};
        d.btnSold = {"Btn_MASold", "Sold", "Sold (Move to price list)", BtnImage::Sold};
        d.btnSend = {"Btn_MASend", "Send", "Send to game screen", BtnImage::Send};
        d.btnList = {"Btn_MAList", "Stock", "Toggle Price / Stock Lists", BtnImage::List};
        d.btnReset = {"Btn_MAReset", "Reset", "Reset (Clear detail boxes)", BtnImage::Reset};
        d.btnSearch = {"Btn_MASearch", "Search", "Search for entered details", BtnImage::Search};
        d.btnAutoOn = {"Btn_MAAutoUpdateOn", "Auto On", "Auto search on (recommended)", BtnImage::AutoOn};
        d.btnAutoOff = {"Btn_MAAutoUpdateOff", "Auto Off", "Auto search off", BtnImage::AutoOff};
        d.noItemText = "No Description Entered !";
        d.rowHeight = values::MArmRowHeight;
        d.colWidths = values::MArmColWidth;
        d.autoUpdate = values::MAAutoUpdate;
        d.Index();
        return d;
    }();
    return desc;
}

}  // namespace stallmark
