#pragma once
// The known-items boxes of the Vendor page (charged items, treasure maps): an editable
// combo whose first entry is always "(None)", carrying nothing, followed by the known
// names in alphabetical order (letter case ignored), each carrying its item. Look-ups by
// name ignore letter case, as the player expects from the list. The same helpers give a
// known item's name its stored form and refuse to write a list that was never read.

#include <QString>
#include <QVariant>
#include <string>
#include <utility>
#include <vector>

class QComboBox;

namespace stallmark {

// Fills box: "(None)", then the entries sorted by name (letter case ignored), each with
// its item as the entry's data. The drop-down shows min(entries, 20) lines, at least 1.
// Nothing is selected afterwards and the box's text is empty; no change signal is sent.
void FillKnownItems(QComboBox& box, std::vector<std::pair<QString, QVariant>> entries);

// The index of the first known entry (never "(None)") whose name equals name, letter
// case ignored; -1 when there is none.
int FindKnownItem(const QComboBox& box, const QString& name);

// Clears the box's selection; with keepText the text typed into it stays (and the caret
// where it was), otherwise the text is emptied. No change signal is sent.
void ClearSelection(QComboBox& box, bool keepText);

// The form a typed name is stored in: commas become blanks, blanks trimmed at both ends.
std::string StoredName(const QString& typed);

// A name that names no item: blank once stored, or the "(None)" entry's own text.
bool NamesNoItem(const QString& typed);

// product = a x b; false (product untouched) when it does not fit in 64 bits.
bool MultiplyAmounts(long long a, long long b, long long& product);

}  // namespace stallmark
