#pragma once
// Where a part of a scroll bar lies (its buttons, slider, groove either side), as its
// style places it for the bar as it stands: for clicks on a part and looks at its pixels.

#include <QRect>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

namespace stallmark::test {

inline QRect ScrollBarPart(const QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    option.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

}  // namespace stallmark::test
