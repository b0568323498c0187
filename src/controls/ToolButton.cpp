#include "controls/ToolButton.h"

#include <QAction>
#include <QApplication>
#include <QChildEvent>
#include <QDialog>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <climits>

#include "controls/CaptionedControls.h"

namespace stallmark {

namespace {

bool ExplicitlyHidden(const QWidget* w) { return w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide); }

// Kept on a menu: its popup handler and the button that last dropped it.
class PopupHook final : public QObject {
public:
    explicit PopupHook(QMenu* menu) : QObject(menu) { setObjectName(QStringLiteral("stallmark_popup_hook")); }
    PopupHandler handler;
    QPointer<QWidget> component;
};

PopupHook* HookOf(const QMenu* menu, bool create) {
    if (!menu) return nullptr;
    for (QObject* child : menu->children())
        if (auto* hook = dynamic_cast<PopupHook*>(child)) return hook;
    return create ? new PopupHook(const_cast<QMenu*>(menu)) : nullptr;
}

void DrawBevel(QPainter& p, const QRect& r, bool sunken, const QPalette& pal) {
    const QColor light = pal.color(QPalette::Light);
    const QColor dark = pal.color(QPalette::Dark);
    const QColor topLeft = sunken ? dark : light;
    const QColor bottomRight = sunken ? light : dark;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

}  // namespace

void SetPopupHandler(QMenu* menu, PopupHandler handler) {
    if (PopupHook* hook = HookOf(menu, true)) hook->handler = std::move(handler);
}

QWidget* PopupComponent(const QMenu* menu) {
    PopupHook* hook = HookOf(menu, false);
    return hook ? hook->component.data() : nullptr;
}

// --- TToolBtnSig -------------------------------------------------------------

TToolBtnSig::TToolBtnSig(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
}

TToolBtnSig::TToolBtnSig(const QString& caption, QWidget* parent) : TToolBtnSig(parent) { setText(caption); }

TToolBtnSig::~TToolBtnSig() {
    if (menuItemLink_) disconnect(menuItemLink_);
    if (menu_) menu_->removeEventFilter(this);
}

void TToolBtnSig::setDisplayMode(TButtonDisplayMode mode) {
    displayMode_ = mode;
    update();
}

void TToolBtnSig::setGlyph(const QPixmap& glyph) {
    glyph_ = glyph;
    if (!glyph.isNull() && glyph.height() > 0 && glyph.width() % glyph.height() == 0) {
        const int count = glyph.width() / glyph.height();
        if (count >= 1 && count <= 4) numGlyphs_ = count;
    }
    updateGeometry();
    update();
}

void TToolBtnSig::setNumGlyphs(int count) {
    numGlyphs_ = std::clamp(count, 1, 4);
    update();
}

void TToolBtnSig::setButtonLayout(TButtonLayout layout) {
    layout_ = layout;
    update();
}

void TToolBtnSig::setMargin(int margin) {
    margin_ = margin;
    update();
}

void TToolBtnSig::setSpacing(int spacing) {
    spacing_ = spacing;
    update();
}

void TToolBtnSig::setFlat(bool on) {
    flat_ = on;
    update();
}

void TToolBtnSig::setShowBorderWhenInactive(bool on) {
    showBorderWhenInactive_ = on;
    update();
}

void TToolBtnSig::setNoBorder(bool on) {
    noBorder_ = on;
    update();
}

void TToolBtnSig::setOpaque(bool on) {
    opaque_ = on;
    update();
}

void TToolBtnSig::setOldDisabledStyle(bool on) {
    oldDisabledStyle_ = on;
    update();
}

void TToolBtnSig::setWordWrap(bool on) {
    wordWrap_ = on;
    update();
}

void TToolBtnSig::setGroupIndex(int index) {
    groupIndex_ = index;
    if (groupIndex_ == 0)
        down_ = false;
    else if (down_)
        UpdateExclusive();
    update();
}

void TToolBtnSig::setDown(bool down) {
    if (groupIndex_ == 0) down = false;
    if (down == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = down;
    if (down_) UpdateExclusive();
    update();
}

void TToolBtnSig::setAllowAllUp(bool on) {
    allowAllUp_ = on;
    // The whole group shares it.
    if (groupIndex_ != 0 && parentWidget())
        for (QObject* child : parentWidget()->children())
            if (auto* other = qobject_cast<TToolBtnSig*>(child);
                other && other != this && other->groupIndex_ == groupIndex_)
                other->allowAllUp_ = on;
}

void TToolBtnSig::UpdateExclusive() {
    if (groupIndex_ == 0 || !parentWidget()) return;
    for (QObject* child : parentWidget()->children()) {
        auto* other = qobject_cast<TToolBtnSig*>(child);
        if (!other || other == this || other->groupIndex_ != groupIndex_ || !other->down_) continue;
        other->down_ = false;
        other->update();
    }
}

void TToolBtnSig::setDropdownMenu(QMenu* menu) {
    menu_ = menu;
    update();
}

void TToolBtnSig::setDropdownArrow(bool on) {
    dropdownArrow_ = on;
    update();
}

void TToolBtnSig::setDropdownCombo(bool on) {
    if (on == dropdownCombo_) return;
    dropdownCombo_ = on;
    resize(on ? width() + kArrowWidth : std::max(1, width() - kArrowWidth), height());
    update();
}

void TToolBtnSig::setMenuItem(QAction* item) {
    if (menuItemLink_) disconnect(menuItemLink_);
    menuItemLink_ = {};
    menuItem_ = item;
    if (item)
        menuItemLink_ = connect(item, &QAction::triggered, this, [this] {
            if (!ExplicitlyHidden(this)) click();
        });
}

void TToolBtnSig::setHotTrack(bool on) {
    hotTrack_ = on;
    update();
}

bool TToolBtnSig::OnArrowPart(const QPoint& pos) const { return pos.x() >= width() - kArrowWidth; }

bool TToolBtnSig::InClickablePart(const QPoint& pos) const {
    return rect().contains(pos) && !(dropdownCombo_ && OnArrowPart(pos));
}

bool TToolBtnSig::DropsMenuOnPress(const QPoint& pos) const { return menu_ && (!dropdownCombo_ || OnArrowPart(pos)); }

bool TToolBtnSig::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void TToolBtnSig::click() {
    if (!isEnabled()) return;
    if (menu_ && (!dropdownCombo_ || arrowPressed_)) {
        DropDown();
        return;
    }
    QPointer<TToolBtnSig> self(this);
    emit clicked(false);
    if (!self) return;
    if (modalResult_ != 0)
        if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->done(modalResult_);
}

void TToolBtnSig::DropDown() {
    if (!menu_ || menuShowing_) return;
    QMenu* menu = menu_;
    PopupHook* hook = HookOf(menu, true);
    hook->component = this;
    if (hook->handler && !hook->handler(menu, this)) return;
    menuShowing_ = true;
    pressed_ = true;
    update();
    menu->installEventFilter(this);
    QPointer<TToolBtnSig> self(this);
    connect(
        menu, &QMenu::aboutToHide, this,
        [self, menu] {
            if (!self) return;
            menu->removeEventFilter(self);
            self->menuShowing_ = false;
            self->pressed_ = false;
            self->update();
        },
        Qt::SingleShotConnection);
    menu->popup(mapToGlobal(QPoint(0, height())));
}

bool TToolBtnSig::eventFilter(QObject* watched, QEvent* event) {
    // A press that closes our menu is not replayed onto this button (it would
    // drop the menu again); presses anywhere else are delivered as usual.
    if (watched == menu_ && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint global = mouse->globalPosition().toPoint();
        const bool onMenu = menu_->rect().contains(menu_->mapFromGlobal(global));
        const bool onButton = rect().contains(mapFromGlobal(global));
        menu_->setAttribute(Qt::WA_NoMouseReplay, !onMenu && onButton);
    }
    return QAbstractButton::eventFilter(watched, event);
}

void TToolBtnSig::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        event->ignore();
        return;
    }
    event->accept();
    if (!hot_) SetHot(true);
    const QPoint pos = event->position().toPoint();
    if (DropsMenuOnPress(pos)) {
        arrowPressed_ = dropdownCombo_;
        click();
        arrowPressed_ = false;
        return;
    }
    tracking_ = true;
    pressed_ = InClickablePart(pos);
    emit pressed();
    update();
}

void TToolBtnSig::mouseMoveEvent(QMouseEvent* event) {
    if (!tracking_) return;
    const bool inside = InClickablePart(event->position().toPoint());
    if (inside != pressed_) {
        pressed_ = inside;
        update();
    }
}

void TToolBtnSig::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !tracking_) {
        event->ignore();
        return;
    }
    event->accept();
    tracking_ = false;
    pressed_ = false;
    update();
    emit released();
    if (!InClickablePart(event->position().toPoint())) return;
    if (groupIndex_ != 0) setDown(!down_);
    click();
}

void TToolBtnSig::SetHot(bool hot) {
    if (hot == hot_) return;
    hot_ = hot;
    update();
    if (hot)
        emit mouseEnter();
    else
        emit mouseExit();
}

void TToolBtnSig::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    if (isEnabled() && (QGuiApplication::applicationState() == Qt::ApplicationActive || showBorderWhenInactive_))
        SetHot(true);
}

void TToolBtnSig::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    SetHot(false);
}

bool TToolBtnSig::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Shortcut:
            if (isEnabled()) click();
            return true;
        case QEvent::ToolTip:
            if (!showHint_) {
                QToolTip::hideText();
                return true;
            }
            break;
        case QEvent::EnabledChange:
            if (!isEnabled()) {
                tracking_ = false;
                pressed_ = false;
                SetHot(false);
            }
            break;
        default: break;
    }
    return QAbstractButton::event(event);
}

QPixmap TToolBtnSig::GlyphFor(int index) const {
    if (glyph_.isNull()) return QPixmap();
    const int w = glyph_.width() / numGlyphs_;
    if (w <= 0) return QPixmap();
    if (index >= numGlyphs_) {
        if (index == 1) return QPixmap::fromImage(MakeDisabled(glyph_.copy(0, 0, w, glyph_.height()).toImage()));
        index = 0;
    }
    return glyph_.copy(index * w, 0, w, glyph_.height());
}

QSize TToolBtnSig::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const bool showGlyph = displayMode_ != dmTextOnly && !glyph_.isNull();
    const bool showText = displayMode_ != dmGlyphOnly && !text().isEmpty();
    const QSize g = showGlyph ? QSize(glyph_.width() / numGlyphs_, glyph_.height()) : QSize();
    const QSize t = showText ? fm.size(Qt::TextShowMnemonic, text()) : QSize();
    const int gap = showGlyph && showText ? spacing_ : 0;
    QSize content = (layout_ == blGlyphLeft || layout_ == blGlyphRight)
                        ? QSize(g.width() + gap + t.width(), std::max(g.height(), t.height()))
                        : QSize(std::max(g.width(), t.width()), g.height() + gap + t.height());
    int extra = 8;
    if (menu_ && dropdownArrow_) extra += dropdownCombo_ ? kArrowWidth : 8;
    return QSize(std::max(23, content.width() + extra), std::max(22, content.height() + 6));
}

QSize TToolBtnSig::minimumSizeHint() const { return QSize(10, 10); }

TToolBtnSig::ContentLayout TToolBtnSig::LayoutContent(bool sunken) const {
    ContentLayout out;
    const QRect r = rect();
    // Room for the drop-down arrow.
    QRect content = r.adjusted(2, 2, -2, -2);
    if (menu_ && dropdownArrow_) {
        if (dropdownCombo_) {
            out.arrow = QRect(r.right() - kArrowWidth + 1, r.top(), kArrowWidth, r.height());
            content.setRight(out.arrow.left() - 1);
        } else {
            out.arrow = QRect(content.right() - 7, r.top(), 8, r.height());
            content.setRight(out.arrow.left() - 1);
        }
    }
    out.content = content;
    const QPoint shift = sunken ? QPoint(1, 1) : QPoint(0, 0);

    const int glyphIndex = !isEnabled() ? 1 : (pressed_ ? 2 : (down_ ? 3 : 0));
    out.glyph = displayMode_ != dmTextOnly ? GlyphFor(glyphIndex) : QPixmap();
    bool showGlyph = !out.glyph.isNull();
    out.showText = displayMode_ != dmGlyphOnly && !text().isEmpty();
    const int textFlags = Qt::TextShowMnemonic | (wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine);
    const bool horizontal = layout_ == blGlyphLeft || layout_ == blGlyphRight;
    out.font = font();
    auto textSize = [&](const QFont& f, int room) {
        const QFontMetrics fm(f);
        return wordWrap_ ? fm.boundingRect(QRect(0, 0, room, 1000), textFlags | Qt::AlignHCenter, text()).size()
                         : fm.size(textFlags, text());
    };
    QSize ts;
    if (out.showText) {
        // A caption is never cut: where picture and caption do not both fit,
        // the caption goes alone, and where it does not fit even so, it is
        // drawn smaller (down to 6 points).
        ts = textSize(out.font, content.width());
        const QSize gs0 = showGlyph ? out.glyph.size() : QSize();
        if (showGlyph && (horizontal ? gs0.width() + spacing_ + ts.width() > content.width()
                                     : gs0.height() + spacing_ + ts.height() > content.height()))
            showGlyph = false;
        while ((ts.width() > content.width() || ts.height() > content.height()) && out.font.pointSizeF() > 6) {
            out.font.setPointSizeF(std::max(6.0, out.font.pointSizeF() - 0.5));
            ts = textSize(out.font, content.width());
        }
        ts.setWidth(std::min(ts.width(), std::max(1, content.width())));
    }
    if (!showGlyph) out.glyph = QPixmap();
    const QSize gs = showGlyph ? out.glyph.size() : QSize();
    const int gap = showGlyph && out.showText ? spacing_ : 0;
    const QSize total = horizontal ? QSize(gs.width() + gap + ts.width(), std::max(gs.height(), ts.height()))
                                   : QSize(std::max(gs.width(), ts.width()), gs.height() + gap + ts.height());
    QPoint origin;
    if (margin_ < 0) {
        origin = QPoint(content.left() + (content.width() - total.width()) / 2,
                        content.top() + (content.height() - total.height()) / 2);
    } else if (horizontal) {
        origin = QPoint(layout_ == blGlyphLeft ? content.left() + margin_ : content.right() - margin_ - total.width(),
                        content.top() + (content.height() - total.height()) / 2);
    } else {
        origin = QPoint(content.left() + (content.width() - total.width()) / 2,
                        layout_ == blGlyphTop ? content.top() + margin_ : content.bottom() - margin_ - total.height());
    }
    origin += shift;
    switch (layout_) {
        case blGlyphLeft:
            out.glyphRect = QRect(origin.x(), origin.y() + (total.height() - gs.height()) / 2, gs.width(), gs.height());
            out.textRect = QRect(origin.x() + gs.width() + gap, origin.y() + (total.height() - ts.height()) / 2,
                                 ts.width(), ts.height());
            break;
        case blGlyphRight:
            out.textRect = QRect(origin.x(), origin.y() + (total.height() - ts.height()) / 2, ts.width(), ts.height());
            out.glyphRect = QRect(origin.x() + ts.width() + gap, origin.y() + (total.height() - gs.height()) / 2,
                                  gs.width(), gs.height());
            break;
        case blGlyphTop:
            out.glyphRect = QRect(origin.x() + (total.width() - gs.width()) / 2, origin.y(), gs.width(), gs.height());
            out.textRect = QRect(origin.x() + (total.width() - ts.width()) / 2, origin.y() + gs.height() + gap,
                                 ts.width(), ts.height());
            break;
        case blGlyphBottom:
            out.textRect = QRect(origin.x() + (total.width() - ts.width()) / 2, origin.y(), ts.width(), ts.height());
            out.glyphRect = QRect(origin.x() + (total.width() - gs.width()) / 2, origin.y() + ts.height() + gap,
                                  gs.width(), gs.height());
            break;
    }
    return out;
}

QRect TToolBtnSig::CaptionRect() const {
    const ContentLayout layout = LayoutContent(pressed_ || down_);
    return layout.showText ? layout.textRect : QRect();
}

QFont TToolBtnSig::CaptionFont() const { return LayoutContent(pressed_ || down_).font; }

bool TToolBtnSig::GlyphShown() const { return !LayoutContent(pressed_ || down_).glyph.isNull(); }

void TToolBtnSig::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    const QRect r = rect();
    const bool enabled = isEnabled();
    const bool sunken = pressed_ || down_;
    if (opaque_) p.fillRect(r, pal.color(QPalette::Button));
    if (down_ && !pressed_) p.fillRect(r.adjusted(1, 1, -1, -1), QBrush(pal.color(QPalette::Light), Qt::Dense4Pattern));
    const bool border =
        !noBorder_ && (!flat_ || (hot_ && enabled) || showBorderWhenInactive_ || sunken || menuShowing_);
    if (border) DrawBevel(p, r, sunken, pal);

    const ContentLayout layout = LayoutContent(sunken);
    if (!layout.arrow.isNull() && dropdownCombo_ && (border || hot_)) {
        p.fillRect(QRect(layout.arrow.left(), r.top() + 2, 1, r.height() - 4), pal.color(QPalette::Dark));
        p.fillRect(QRect(layout.arrow.left() + 1, r.top() + 2, 1, r.height() - 4), pal.color(QPalette::Light));
    }
    if (!layout.glyph.isNull()) p.drawPixmap(layout.glyphRect.topLeft(), layout.glyph);
    if (layout.showText) {
        const int textFlags = Qt::TextShowMnemonic | (wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine);
        p.save();
        p.setFont(layout.font);
        p.setClipRect(layout.content.adjusted(0, 0, 1, 1));
        if (!enabled) {
            p.setPen(pal.color(QPalette::Light));
            p.drawText(layout.textRect.translated(1, 1), textFlags | Qt::AlignHCenter, text());
            p.setPen(pal.color(QPalette::Disabled, QPalette::ButtonText));
        } else {
            p.setPen(hotTrack_ && hot_ ? QColor(Qt::blue) : pal.color(QPalette::ButtonText));
        }
        p.drawText(layout.textRect, textFlags | Qt::AlignHCenter, text());
        p.restore();
    }
    if (!layout.arrow.isNull()) {
        const QPoint shift = sunken ? QPoint(1, 1) : QPoint(0, 0);
        const QPoint c = layout.arrow.center() + (dropdownCombo_ ? QPoint() : shift);
        QPolygon tri;
        tri << QPoint(c.x() - 2, c.y() - 1) << QPoint(c.x() + 2, c.y() - 1) << QPoint(c.x(), c.y() + 1);
        p.setPen(Qt::NoPen);
        p.setBrush(enabled ? pal.color(QPalette::ButtonText) : pal.color(QPalette::Disabled, QPalette::ButtonText));
        p.drawPolygon(tri);
    }
}

// --- TPanelResize ------------------------------------------------------------

TPanelResize::TPanelResize(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    resize(185, 26);
}

TPanelResize::~TPanelResize() { destroying_ = true; }

void TPanelResize::setSeperators(bool on) {
    seperators_ = on;
    Realign();
    update();
}

void TPanelResize::setVertical(bool on) {
    if (on == vertical_) return;
    vertical_ = on;
    Realign();
}

void TPanelResize::setBevelInner(TPanelBevel bevel) {
    bevelInner_ = bevel;
    Realign();
    update();
}

void TPanelResize::setBevelOuter(TPanelBevel bevel) {
    bevelOuter_ = bevel;
    Realign();
    update();
}

void TPanelResize::setBevelWidth(int width) {
    bevelWidth_ = std::max(0, width);
    Realign();
    update();
}

void TPanelResize::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

int TPanelResize::BevelSize() const {
    return (bevelInner_ != bvNone ? bevelWidth_ : 0) + (bevelOuter_ != bvNone ? bevelWidth_ : 0);
}

std::vector<QWidget*> TPanelResize::LayoutChildren() const {
    std::vector<QWidget*> out;
    for (QObject* child : children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow()) continue;
        if (auto* label = qobject_cast<TLabelSig*>(w); label && label->captionOwner()) continue;
        out.push_back(w);
    }
    return out;
}

void TPanelResize::RebuildOrderIfNeeded() {
    const std::vector<QWidget*> kids = LayoutChildren();
    bool same = kids.size() == order_.size();
    for (const auto& w : order_) same = same && !w.isNull();
    if (same) return;
    std::vector<std::pair<int, QWidget*>> keyed;
    for (QWidget* w : kids) {
        // Children placed by hand keep their edge order; the others come last.
        const int key = w->testAttribute(Qt::WA_Moved) ? (vertical_ ? w->y() : w->x()) : INT_MAX;
        keyed.emplace_back(key, w);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    order_.clear();
    for (const auto& [key, w] : keyed) order_.emplace_back(w);
}

std::vector<QWidget*> TPanelResize::OrderedChildren() const {
    const_cast<TPanelResize*>(this)->RebuildOrderIfNeeded();
    std::vector<QWidget*> out;
    for (const auto& w : order_)
        if (w) out.push_back(w);
    return out;
}

void TPanelResize::Realign() {
    if (destroying_ || layingOut_) return;
    layingOut_ = true;
    RebuildOrderIfNeeded();
    std::vector<QWidget*> visible;
    for (const auto& w : order_)
        if (w && !ExplicitlyHidden(w)) visible.push_back(w);
    const int n = static_cast<int>(visible.size());
    if (n > 0) {
        const int b = BevelSize();
        const int g = seperators_ ? 2 : 0;
        const int length = vertical_ ? height() : width();
        const int across = std::max(10, (vertical_ ? width() : height()) - 2 * b);
        const int space = length - (2 * b + (n - 1) * g);
        const int each = std::max(10, space / n);
        // Leftover pixels go one each to the first children; when even 10
        // pixels each do not fit, the children keep 10 and run past the edge.
        const int rest = std::max(0, space - n * each);
        for (int i = 0; i < n; ++i) {
            const int pos = b + i * (each + g) + std::min(i, rest);
            const int size = i < rest ? each + 1 : each;
            if (vertical_)
                visible[static_cast<size_t>(i)]->setGeometry(b, pos, across, size);
            else
                visible[static_cast<size_t>(i)]->setGeometry(pos, b, size, across);
        }
    }
    layingOut_ = false;
    update();
}

void TPanelResize::PostRealign() {
    if (realignPosted_ || destroying_) return;
    realignPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            realignPosted_ = false;
            Realign();
        },
        Qt::QueuedConnection);
}

bool TPanelResize::event(QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Polish) Realign();
    return QFrame::event(event);
}

void TPanelResize::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Realign();
}

void TPanelResize::childEvent(QChildEvent* event) {
    QFrame::childEvent(event);
    if (destroying_ || !event->child()->isWidgetType()) return;
    switch (event->type()) {
        case QEvent::ChildAdded:
            event->child()->installEventFilter(this);
            PostRealign();
            break;
        case QEvent::ChildPolished: Realign(); break;
        case QEvent::ChildRemoved:
            event->child()->removeEventFilter(this);
            Realign();
            break;
        default: break;
    }
}

bool TPanelResize::eventFilter(QObject* watched, QEvent* event) {
    if (watched->parent() == this && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        Realign();
    return QFrame::eventFilter(watched, event);
}

void TPanelResize::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    const QPalette& pal = palette();
    QRect r = rect();
    auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone) return;
        for (int i = 0; i < bevelWidth_; ++i) {
            DrawBevel(p, r, kind == bvLowered, pal);
            r.adjust(1, 1, -1, -1);
        }
    };
    bevel(bevelOuter_);
    bevel(bevelInner_);
    if (!caption_.isEmpty()) {
        p.setPen(pal.color(QPalette::WindowText));
        p.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, caption_);
    }
    if (!seperators_) return;
    std::vector<QWidget*> visible;
    for (const auto& w : order_)
        if (w && !ExplicitlyHidden(w)) visible.push_back(w);
    const int b = BevelSize();
    for (size_t i = 0; i + 1 < visible.size(); ++i) {
        const QRect g = visible[i]->geometry();
        if (vertical_) {
            const int y = g.bottom() + 1;
            p.fillRect(QRect(b, y, width() - 2 * b, 1), pal.color(QPalette::Dark));
            p.fillRect(QRect(b, y + 1, width() - 2 * b, 1), pal.color(QPalette::Light));
        } else {
            const int x = g.right() + 1;
            p.fillRect(QRect(x, b, 1, height() - 2 * b), pal.color(QPalette::Dark));
            p.fillRect(QRect(x + 1, b, 1, height() - 2 * b), pal.color(QPalette::Light));
        }
    }
}

// --- ApplyPanelButtonOptions -------------------------------------------------

TToolBtnSig* MakeBarButton(QWidget* bar, const char* name, const QString& caption, int image, const QString& hint) {
    auto* button = new TToolBtnSig(caption, bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setTag(image);
    return button;
}

void ApplyPanelButtonOptions(QWidget* panel, const ButtonOptions& options, const ImageList& images) {
    if (!panel) return;
    const TButtonDisplayMode mode = options.graphic && options.text ? dmBoth
                                    : options.graphic               ? dmGlyphOnly
                                                                    : dmTextOnly;
    for (QObject* child : panel->children()) {
        auto* button = qobject_cast<TToolBtnSig*>(child);
        if (!button) continue;
        button->setShowHint(options.showHints);
        button->setDisplayMode(mode);
        if (button->tag() == -1)
            button->setDisplayMode(dmBoth);
        else
            button->setGlyph(images.Pixmap(button->tag()));
        button->setNumGlyphs(button->glyph().width() / 16);
    }
}

}  // namespace stallmark
