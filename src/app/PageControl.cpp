#include "app/PageControl.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QToolButton>

namespace stallmark {

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
    auto* button = new QToolButton(tabArea_);
    button->setObjectName(page->objectName() + "_Tab");
    captions_.push_back(caption);
    button->setText(caption);
    button->setCheckable(true);
    button->setAutoRaise(true);  // flat, raised while the mouse is over it
    button->setFocusPolicy(Qt::TabFocus);
    button->show();
    group_->addButton(button, index);
    buttons_.push_back(button);
    LayoutButtons();
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
    LayoutButtons();
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
    if (index < 0 || index >= PageCount()) return;
    captions_[index] = caption;
    ShowCaption(index);
}

// A caption wider than its tab is shortened with an ellipsis; the whole
// caption is the tab's tooltip.
void TPageControl::ShowCaption(int index) {
    QToolButton* b = buttons_[index];
    const QString& caption = captions_[index];
    const int room = tabWidth_ > 0 ? tabWidth_ - 6 : 0;
    const QString shown = room > 0 ? b->fontMetrics().elidedText(caption, Qt::ElideRight, room) : caption;
    b->setText(shown);
    b->setToolTip(shown == caption ? QString() : caption);
}

void TPageControl::SetMultiLine(bool multiLine) {
    if (multiLine_ == multiLine) return;
    multiLine_ = multiLine;
    LayoutButtons();
}

void TPageControl::SetTabWidth(int width) {
    if (tabWidth_ == width) return;
    tabWidth_ = width;
    for (int i = 0; i < PageCount(); ++i) ShowCaption(i);
    LayoutButtons();
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
    int x = 0;
    int row = 0;
    bool any = false;
    for (int i = 0; i < PageCount(); ++i) {
        QToolButton* b = buttons_[i];
        if (b->isHidden()) continue;
        const int w = tabWidth_ > 0 ? tabWidth_ : std::max(b->sizeHint().width(), 10);
        if (multiLine_ && any && x + w > areaWidth) {
            ++row;
            x = 0;
        }
        b->setGeometry(x, row * kTabHeight, w, kTabHeight);
        x += w;
        any = true;
    }
    tabRows_ = row + 1;
    const int tabsHeight = any ? tabRows_ * kTabHeight : 0;
    tabArea_->setGeometry(0, 0, width(), tabsHeight);
    stack_->setGeometry(0, tabsHeight, width(), std::max(0, height() - tabsHeight));
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
