#pragma once
// One object per page of the main window: it owns the page's lists and answers for
// the page in the grid popup menu (which items show, with what captions, list numbers
// and check marks), for "Send To Game" (F2), "Send To Detail", "Resize Grid",
// "Reorder" and the hidden columns. The window has no knowledge of what a page holds.

#include <QString>
#include <optional>
#include <vector>

class QWidget;

namespace stallmark {

class StoredList;
class TStringGrid;

// What the popup menu shows on a page.
struct PopupState {
    bool sendToGame = true;  // "Send To &Game" and the separator after it
    bool sendToDetail = false;
    int list1 = 0;  // list numbers of the two list-option items; 0 hides the item
    int list2 = 0;
    QString list1Caption{};
    QString list2Caption{};
    bool gridResize = false;
    bool gridResizeChecked = false;
    bool reorder = false;
    bool hideColumns = false;  // "Hide Date", "Hide Age", "Hide Other" and their separator
    bool hideDate = false;
    bool hideAge = false;
    bool hideOther = false;
    bool link = false;  // "Link Quantities" and its separator
    bool linkChecked = false;
};

enum class HideColumn { Date, Age, Other };

class TabPage {
public:
    virtual ~TabPage() = default;

    // The page's lists, each registered with the window once.
    virtual std::vector<StoredList*> Lists() = 0;

    // The popup menu for this page; focus: the widget with the keyboard focus.
    virtual PopupState Popup(const QWidget* focus) const;
    // "Send To Game" while the page is shown; focus as above.
    virtual void SendToGame(QWidget* /*focus*/) {}
    virtual void SendToDetail() {}

    // "Resize Grid": the grids it acts on (the first one is asked for the row height
    // when AsksGridHeight), and the page's resizable flag.
    virtual std::vector<TStringGrid*> SizingGrids() { return {}; }
    virtual bool AsksGridHeight() const { return true; }
    bool GridSizing() const { return gridSizing_; }
    void SetGridSizingFlag(bool on) { gridSizing_ = on; }

    virtual void Reorder() {}
    virtual void HideColumnChanged(HideColumn, bool /*hide*/) {}
    // "Link Quantities" clicked; on: its new check mark.
    virtual void LinkChanged(bool /*on*/) {}

    // Lays the page out again (as a size message does).
    virtual void Relayout() {}
    // Whether the tab layout lays this page out again when it is the shown one.
    virtual bool RelayoutWithTabs() const { return true; }
    // The default answer of "Clear book or profile" while this page is shown; none:
    // the "BackSpc" option.
    virtual std::optional<int> ClearCountDefault() const { return std::nullopt; }

private:
    bool gridSizing_ = false;
};

// True when widget is w or lies inside it.
bool IsWithin(const QWidget* widget, const QWidget* w);

}  // namespace stallmark
