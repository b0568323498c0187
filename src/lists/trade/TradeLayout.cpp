#include "lists/trade/TradeLayout.h"

#include <QBoxLayout>
#include <QFontMetrics>

#include "controls/CaptionedControls.h"

namespace stallmark {

void AddCaptioned(QBoxLayout& row, QWidget* control, const QString& caption, int stretch) {
    const int room = caption.isEmpty() ? 0 : control->fontMetrics().horizontalAdvance(caption) + 6;
    if (auto* edit = qobject_cast<TEditLabel*>(control)) {
        edit->setCaption(caption);
        edit->setCaptionLeft(room);
    } else if (auto* combo = qobject_cast<TComboBoxSig*>(control)) {
        combo->setCaption(caption);
        combo->setCaptionLeft(room);
    }
    if (room > 0) row.addSpacing(room);
    row.addWidget(control, stretch);
}

}  // namespace stallmark
