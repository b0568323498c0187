#include "app/PageControl.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

constexpr int kCaptionMargin = 2;  // between a tab's edge and its caption

// A tab: a flat button whose caption is drawn by the tab itself, centred and
// shortened with an ellipsis when the tab is narrower than the caption.
class PageTab final : public QToolButton {
public:
    using QToolButton::QToolButton;

    QString caption;

    int NeededWidth() const {
        return static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(caption))) + 2 * kCaptionMargin;
    }
    QString Shown() const {
        const int room = std::max(0, width() - 2 * kCaptionMargin);
        if (QFontMetricsF(font()).horizontalAdvance(caption) <= room) return caption;
        return fontMetrics().elidedText(caption, Qt::ElideRight, room);
    }
    QSize sizeHint() const override { return QSize(NeededWidth(), TPageControl::kTabHeight); }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        p.drawComplexControl(QStyle::CC_ToolButton, option);
        const QRect room = rect().adjusted(kCaptionMargin, 0, -kCaptionMargin, 0);
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        p.drawText(room.translated(isDown() ? 1 : 0, isDown() ? 1 : 0), Qt::AlignCenter | Qt::TextSingleLine, Shown());
    }
    void resizeEvent(QResizeEvent* event) override {
        QToolButton::resizeEvent(event);
        Refresh();
    }

public:
    // The caption as shown, and the whole caption as the tooltip when it is cut.
    void Refresh() {
        const QString shown = Shown();
        setText(shown);
        setToolTip(shown == caption ? QString() : caption);
        update();
    }
};

PageTab* Tab(QToolButton* button) { return static_cast<PageTab*>(button); }

}  // namespace

TTabSheet::TTabSheet(const QString& name, QWidget* parent) : QWidget(parent) { setObjectName(name); }

void TTabSheet::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

TPageControl::TPageControl(QWidget* parent)
    : QFrame(parent),
      tabArea_(new QWidget(this)),
      stack_(new QStackedWidget(this)),
      empty_(new QWidget(stack_)),
      group_(new QButtonGroup(this)) {
    setObjectName("PageControl");
    stack_->addWidget(empty_);
    group_->setExclusive(false);
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) { SetActivePageIndex(id); });
}

int TPageControl::AddPage(TTabSheet* page, const QString& caption) {
    const int index = PageCount();
    pages_.push_back(page);
    stack_->addWidget(page);
    auto* button = new PageTab(tabArea_);
    button->setObjectName(page->objectName() + u"_Tab"_s);
    captions_.push_back(caption);
    button->caption = caption;
    button->setText(caption);
    button->setCheckable(true);
    button->setAutoRaise(true);  // flat, raised while the mouse is over it
    button->setFocusPolicy(Qt::TabFocus);
    button->show();
    group_->addButton(button, index);
    buttons_.push_back(button);
    TabsChanged();
    return index;
}

TTabSheet* TPageControl::Page(int index) const { return index >= 0 && index < PageCount() ? pages_[index] : nullptr; }

int TPageControl::IndexOf(const QWidget* page) const {
    for (int i = 0; i < PageCount(); ++i)
        if (pages_[i] == page) return i;
    return -1;
}

void TPageControl::SetActivePageIndex(int index) {
    if (index < -1 || index >= PageCount() || (index >= 0 && !TabVisible(index))) index = -1;
    const bool changed = index != active_;
    active_ = index;
    ShowActive();
    if (changed) emit pageChanged(active_);
}

void TPageControl::ShowActive() {
    for (int i = 0; i < PageCount(); ++i) buttons_[i]->setChecked(i == active_);
    stack_->setCurrentWidget(active_ >= 0 ? static_cast<QWidget*>(pages_[active_]) : empty_);
}

bool TPageControl::TabVisible(int index) const {
    return index >= 0 && index < PageCount() && !buttons_[index]->isHidden();
}

void TPageControl::SetTabVisible(int index, bool visible) {
    if (index < 0 || index >= PageCount() || TabVisible(index) == visible) return;
    buttons_[index]->setVisible(visible);
    TabsChanged();
    if (!visible && index == active_) {
        int next = -1;
        for (int step = 1; step < PageCount() && next < 0; ++step) {
            const int candidate = (index + step) % PageCount();
            if (TabVisible(candidate)) next = candidate;
        }
        SetActivePageIndex(next);
    }
}

QString TPageControl::TabCaption(int index) const {
    return index >= 0 && index < PageCount() ? captions_[index] : QString();
}

void TPageControl::SetTabCaption(int index, const QString& caption) {
    if (index < 0 || index >= PageCount() || captions_[index] == caption) return;
    captions_[index] = caption;
    Tab(buttons_[index])->caption = caption;
    TabsChanged();
}

int TPageControl::CaptionWidth(int index) const {
    return index >= 0 && index < PageCount() ? Tab(buttons_[index])->NeededWidth() : 0;
}

int TPageControl::TabShownWidth(int index) const { return TabVisible(index) ? buttons_[index]->width() : 0; }

QString TPageControl::TabShownCaption(int index) const {
    return index >= 0 && index < PageCount() ? Tab(buttons_[index])->Shown() : QString();
}

void TPageControl::SetMultiLine(bool multiLine) {
    if (multiLine_ == multiLine) return;
    multiLine_ = multiLine;
    TabsChanged();
}

void TPageControl::SetTabWidth(int width) {
    if (tabWidth_ == width) return;
    tabWidth_ = width;
    LayoutButtons();
}

// The tabs shown, their captions or their rows changed: lay them out now, and
// let the window work out the tab width for them.
void TPageControl::TabsChanged() {
    LayoutButtons();
    emit resized();
}

int TPageControl::VisibleTabCount() const {
    int count = 0;
    for (int i = 0; i < PageCount(); ++i) count += TabVisible(i) ? 1 : 0;
    return count;
}

QToolButton* TPageControl::TabButton(int index) const {
    return index >= 0 && index < PageCount() ? buttons_[index] : nullptr;
}

void TPageControl::LayoutButtons() {
    const int areaWidth = std::max(1, width());
    // Each tab: the set width, or its caption's width where that is more.
    std::vector<int> widths(static_cast<size_t>(PageCount()), 0);
    for (int i = 0; i < PageCount(); ++i)
        if (TabVisible(i)) widths[i] = std::max({tabWidth_, CaptionWidth(i), 10});
    if (multiLine_) {
        for (int& w : widths) w = std::min(w, std::max(areaWidth, 10));
    } else if (std::accumulate(widths.begin(), widths.end(), 0) > areaWidth) {
        // One row that cannot hold every caption: the widest give way first,
        // never below the set width.
        const int floor = std::max(tabWidth_, 10);
        int low = floor, high = *std::max_element(widths.begin(), widths.end());
        auto total = [&](int cap) {
            int sum = 0;
            for (int w : widths) sum += w > 0 ? std::max(std::min(w, cap), floor) : 0;
            return sum;
        };
        while (low < high) {
            const int cap = (low + high + 1) / 2;
            if (total(cap) <= areaWidth)
                low = cap;
            else
                high = cap - 1;
        }
        for (int& w : widths)
            if (w > 0) w = std::max(std::min(w, low), floor);
    } else {
        // Captions wider than the set width: the room left over is shared out,
        // so that the row is as full as the set width would have made it.
        const int count = VisibleTabCount();
        const int used = std::accumulate(widths.begin(), widths.end(), 0);
        if (count > 0 && tabWidth_ > 0 && used > count * tabWidth_) {
            const int extra = (areaWidth - used) / count;
            for (int& w : widths)
                if (w > 0) w += extra;
        }
    }
    int x = 0;
    int row = 0;
    bool any = false;
    for (int i = 0; i < PageCount(); ++i) {
        QToolButton* b = buttons_[i];
        if (b->isHidden()) continue;
        const int w = widths[i];
        if (multiLine_ && any && x + w > areaWidth) {
            ++row;
            x = 0;
        }
        b->setGeometry(x, row * kTabHeight, w, kTabHeight);
        Tab(b)->Refresh();
        x += w;
        any = true;
    }
    tabRows_ = row + 1;
    const int tabsHeight = any ? tabRows_ * kTabHeight : 0;
    tabArea_->setGeometry(0, 0, width(), tabsHeight);
    stack_->setGeometry(0, tabsHeight, width(), std::max(0, height() - tabsHeight));
}

void TPageControl::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) TabsChanged();
}

void TPageControl::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    LayoutButtons();
    emit resized();
}

void PostSizeMessage(QWidget* widget) {
    if (!widget) return;
    QCoreApplication::postEvent(widget, new QResizeEvent(widget->size(), widget->size()));
}

}  // namespace stallmark
