#pragma once
// Tool buttons and the panels that share their space out among them.
//
// TToolBtnSig: a flat button that never takes the keyboard focus and shows a
// picture, a caption or both (DisplayMode). Its picture is a strip of
// NumGlyphs pictures side by side: normal, disabled, pressed, held down (the
// program's button pictures are 32 x 16: normal and disabled). Buttons of one
// parent with the same non-zero GroupIndex form a group in which at most one
// is Down. A button with a DropdownMenu drops it on the press (or, split by
// DropdownCombo, on a press on its 11-pixel arrow part) instead of clicking.
// Mnemonics (&Save) click the button.
//
// click() is the button's click: it drops the menu of a drop-down button, or
// else emits clicked() and then, when ModalResult is not 0 and the button
// sits in a QDialog, closes the dialog with that result. Prefer it to
// QAbstractButton::click(), which it hides. setDown()/isDown() are the held
// Down state of the group, not the pressed look.
//
// TPanelResize: a panel that lays its visible children out in a row (or a
// column when Vertical), sharing the space evenly, with etched separators
// when Seperators is on. Children keep the order of their left (top) edges
// at the first layout; children never placed by hand come last, in creation
// order. Caption labels of captioned controls are not laid out.

#include <QAbstractButton>
#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <functional>
#include <vector>

#include "controls/ControlTag.h"
#include "controls/Icons.h"

namespace stallmark {

enum TButtonDisplayMode { dmBoth, dmGlyphOnly, dmTextOnly };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TPanelBevel { bvNone, bvLowered, bvRaised };

class TToolBtnSig : public QAbstractButton, public TagHolder {
    Q_OBJECT

public:
    static constexpr int kArrowWidth = 11;  // the arrow part of a split button

    explicit TToolBtnSig(QWidget* parent = nullptr);
    explicit TToolBtnSig(const QString& caption, QWidget* parent = nullptr);
    ~TToolBtnSig() override;

    TButtonDisplayMode displayMode() const { return displayMode_; }
    void setDisplayMode(TButtonDisplayMode mode);
    QPixmap glyph() const { return glyph_; }
    // A strip whose width is 1 to 4 times its height also sets NumGlyphs.
    void setGlyph(const QPixmap& glyph);
    int numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int count);  // 1 to 4
    // Layout of the picture next to the caption (QWidget::layout() is the Qt layout).
    TButtonLayout buttonLayout() const { return layout_; }
    void setButtonLayout(TButtonLayout layout);
    int margin() const { return margin_; }
    void setMargin(int margin);  // -1 centres the content
    int spacing() const { return spacing_; }
    void setSpacing(int spacing);
    bool flat() const { return flat_; }
    void setFlat(bool on);
    bool showBorderWhenInactive() const { return showBorderWhenInactive_; }
    void setShowBorderWhenInactive(bool on);
    bool noBorder() const { return noBorder_; }
    void setNoBorder(bool on);
    bool opaque() const { return opaque_; }
    void setOpaque(bool on);
    bool oldDisabledStyle() const { return oldDisabledStyle_; }
    void setOldDisabledStyle(bool on);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);
    int groupIndex() const { return groupIndex_; }
    void setGroupIndex(int index);
    bool isDown() const { return down_; }
    bool down() const { return down_; }
    // Ignored without a GroupIndex; a held button of a group without
    // AllowAllUp is only released by another button of its group going down.
    void setDown(bool down);
    bool allowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool on);
    QMenu* dropdownMenu() const { return menu_; }
    void setDropdownMenu(QMenu* menu);
    bool dropdownArrow() const { return dropdownArrow_; }
    void setDropdownArrow(bool on);
    bool dropdownCombo() const { return dropdownCombo_; }
    void setDropdownCombo(bool on);  // widens (narrows) the button by the arrow part
    QAction* menuItem() const { return menuItem_; }
    void setMenuItem(QAction* item);  // the item's trigger then clicks the (visible) button
    bool hotTrack() const { return hotTrack_; }
    void setHotTrack(bool on);
    int modalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }
    bool showHint() const { return showHint_; }
    void setShowHint(bool on) { showHint_ = on; }

    bool isHot() const { return hot_; }
    bool isPressedLook() const { return pressed_; }
    void click();
    void DropDown();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Where the caption is drawn, in which font, and whether the picture is
    // drawn beside it. A caption is never cut: in a button too small for
    // picture and caption the caption goes alone, smaller if need be.
    QRect CaptionRect() const;  // empty when no caption is shown
    QFont CaptionFont() const;
    bool GlyphShown() const;

signals:
    void mouseEnter();
    void mouseExit();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    struct ContentLayout {
        QRect content, arrow, glyphRect, textRect;
        QPixmap glyph;
        bool showText = false;
        QFont font;
    };
    ContentLayout LayoutContent(bool sunken) const;
    bool InClickablePart(const QPoint& pos) const;
    bool OnArrowPart(const QPoint& pos) const;
    bool DropsMenuOnPress(const QPoint& pos) const;
    void SetHot(bool hot);
    void UpdateExclusive();
    QPixmap GlyphFor(int index) const;

    TButtonDisplayMode displayMode_ = dmBoth;
    QPixmap glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool flat_ = true;
    bool showBorderWhenInactive_ = false;
    bool noBorder_ = false;
    bool opaque_ = true;
    bool oldDisabledStyle_ = false;
    bool wordWrap_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    QPointer<QMenu> menu_;
    bool dropdownArrow_ = true;
    bool dropdownCombo_ = false;
    QPointer<QAction> menuItem_;
    QMetaObject::Connection menuItemLink_;
    bool hotTrack_ = false;
    int modalResult_ = 0;
    bool showHint_ = true;

    bool hot_ = false;
    bool tracking_ = false;  // left button held after a press on the clickable part
    bool pressed_ = false;   // shown pressed
    bool arrowPressed_ = false;
    bool menuShowing_ = false;
};

// The popup event of a menu dropped by tool buttons: runs before the menu
// drops, with the button dropping it; returning false cancels the drop.
using PopupHandler = std::function<bool(QMenu* menu, QWidget* popupComponent)>;
void SetPopupHandler(QMenu* menu, PopupHandler handler);
// The button that last dropped the menu (null when none has).
QWidget* PopupComponent(const QMenu* menu);

class TPanelResize : public QFrame, public TagHolder {
    Q_OBJECT

public:
    explicit TPanelResize(QWidget* parent = nullptr);
    ~TPanelResize() override;

    bool seperators() const { return seperators_; }
    void setSeperators(bool on);
    bool vertical() const { return vertical_; }
    void setVertical(bool on);
    TPanelBevel bevelInner() const { return bevelInner_; }
    void setBevelInner(TPanelBevel bevel);
    TPanelBevel bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TPanelBevel bevel);  // default raised
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int width);  // default 1
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // The bevel counted once for each bevel that is on.
    int BevelSize() const;
    // Lays the children out now (done by itself on resize, on show, and when
    // children come, go, show or hide).
    void Realign();
    // The children in layout order, hidden ones included.
    std::vector<QWidget*> OrderedChildren() const;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QWidget*> LayoutChildren() const;
    void RebuildOrderIfNeeded();
    void PostRealign();

    bool seperators_ = false;
    bool vertical_ = false;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    QString caption_;
    std::vector<QPointer<QWidget>> order_;
    bool layingOut_ = false;
    bool destroying_ = false;
    bool realignPosted_ = false;
};

// A tool button on a bar: its name, caption, hint and the picture number of
// ImageList_Btn it shows (-1: none of the list's, caption always shown).
TToolBtnSig* MakeBarButton(QWidget* bar, const char* name, const QString& caption, int image, const QString& hint);

// The button options of the options dialog.
struct ButtonOptions {
    bool showHints = true;
    bool graphic = true;
    bool text = false;
};

// Applies the button options to every tool button placed directly on the
// panel: hints shown or not; display mode by the options (both, picture
// only, caption only; caption only when neither is set); picture number `tag`
// of the image list and NumGlyphs = picture width / 16. A button with tag -1
// keeps its own picture and shows picture and caption whatever the options.
void ApplyPanelButtonOptions(QWidget* panel, const ButtonOptions& options, const ImageList& images = ImageList_Btn());

}  // namespace stallmark
