#include "lists/trade/KnownItems.h"

#include <QCollator>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <climits>

#include "controls/Text1252.h"
#include "lists/picklists/PickList.h"
#include "store/Fields.h"

namespace stallmark {

void FillKnownItems(QComboBox& box, std::vector<std::pair<QString, QVariant>> entries) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const auto& a, const auto& b) { return collator.compare(a.first, b.first) < 0; });
    const QSignalBlocker block(box);
    box.clear();  // the entries' items go with them
    box.addItem(QString::fromLatin1(kNoneEntry));
    for (auto& [name, item] : entries) box.addItem(name, item);
    box.setMaxVisibleItems(std::clamp(box.count(), 1, 20));
    box.setCurrentIndex(-1);
    if (box.isEditable()) box.setEditText(QString());
}

int FindKnownItem(const QComboBox& box, const QString& name) {
    for (int i = 1; i < box.count(); ++i)
        if (box.itemText(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void ClearSelection(QComboBox& box, bool keepText) {
    const QSignalBlocker block(box);
    QLineEdit* edit = box.lineEdit();
    const QString text = keepText && edit ? edit->text() : QString();
    const int caret = edit ? edit->cursorPosition() : 0;
    box.setCurrentIndex(-1);
    if (edit) {
        edit->setText(text);
        edit->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
    }
}

std::string StoredName(const QString& typed) { return CleanField(ToBytes(typed), false); }

bool NamesNoItem(const QString& typed) {
    return IsBlank(StoredName(typed)) || typed.trimmed().compare(QLatin1String(kNoneEntry), Qt::CaseInsensitive) == 0;
}

bool MultiplyAmounts(long long a, long long b, long long& product) {
    if (a == 0 || b == 0) {
        product = 0;
        return true;
    }
    auto magnitude = [](long long v) {
        return v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    };
    const unsigned long long ma = magnitude(a), mb = magnitude(b);
    const bool negative = (a < 0) != (b < 0);
    const unsigned long long limit = static_cast<unsigned long long>(LLONG_MAX) + (negative ? 1ULL : 0ULL);
    if (ma > limit / mb) return false;
    const unsigned long long m = ma * mb;
    if (negative)
        product = m == limit ? LLONG_MIN : -static_cast<long long>(m);
    else
        product = static_cast<long long>(m);
    return true;
}

}  // namespace stallmark
