#pragma once
// The magic weapon page (Tab_MWeps): the weapon stock and price lists ("MWStock.dat",
// "MWPrice.dat") on the shared magic item page, under the weapon page's own names.

#include "lists/magic/MagicPage.h"

namespace stallmark {

class TMagicWeaponPage : public TMagicPage {
    Q_OBJECT
public:
    TMagicWeaponPage(ListHost& host, QWidget* page) : TMagicPage(host, page, WeaponList()) {}

    MagicView WeaponView() const { return View(); }
    std::string WeaponFilePath() const { return FilePath(); }
    int RefreshWeaponGrid(const std::string& selectLine) { return RefreshGrid(selectLine); }
    bool WeaponLineToRow(const std::string& line, int r) { return LineToRow(line, r); }
    std::string WeaponRowToLine(int r) const { return RowToLine(r); }
    std::string WeaponRowText(int r, bool forHint) const { return RowText(r, forHint); }
    void ShowWeaponView() { ShowView(); }
    bool WeaponMatchesSearch(const std::string& line) const { return MatchesSearch(line); }

    // Detail boxes and search.
    void MWDataChanged() { DataChanged(); }
    void Cb_MWMagicChange() { MagicChange(); }
    void Cb_MWOtherChange() { OtherChange(); }
    void Ckb_MWSilverClick() { DataChanged(); }
    void Ckb_MWVirtueClick() { DataChanged(); }
    void Ckb_MWNoneClick() { DataChanged(); }
    void Btn_MWSearchClick() { SearchClick(); }
    void Btn_MWResetClick() { ResetClick(); }
    void Btn_MWListClick() { ListClick(); }
    void Btn_WepWepClick() { PickListClick(MagicPart::Item); }
    void Btn_WepMagicClick() { PickListClick(MagicPart::Magic); }
    void Btn_WepAccClick() { PickListClick(MagicPart::Accuracy); }
    void Btn_WepDurClick() { PickListClick(MagicPart::Durability); }
    void Btn_MWOtherClick() { PickListClick(MagicPart::Other); }

    // Item operations.
    void Btn_MWAddClick() { AddClick(); }
    void Btn_MWDeleteClick() { DeleteClick(); }
    void Btn_MWEditClick() { EditClick(); }
    void Btn_MWSoldClick() { SoldClick(); }
    void Btn_MWSendClick() { SendClick(); }
    void Mp_SendToDetailClick() { SendToDetailClick(); }

    // Grid, page and menu.
    void SGrid_MWDisplayClick() { GridClick(); }
    void SGrid_MWDisplaySelectCell(int col, int row) { GridSelectCell(col, row); }
    void Tab_MWepsResize() { PageResize(); }
    void Mp_ReorderClick() { ReorderFiles(); }
    void Mp_HideColDateClick(bool hide) { HideGridColumn(ListPage::HideColumn::Date, hide); }
    void Mp_HideColAgeClick(bool hide) { HideGridColumn(ListPage::HideColumn::Age, hide); }
    void Mp_HideColOtherClick(bool hide) { HideGridColumn(ListPage::HideColumn::Other, hide); }
};

}  // namespace stallmark
