#include "lists/picklists/PickList.h"

#include <QCollator>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVariant>
#include <algorithm>

#include "controls/Dialogs.h"
#include "controls/Text1252.h"
#include "lists/picklists/EditTextForm.h"
#include "lists/picklists/PickListFiles.h"

namespace stallmark {

namespace {

constexpr const char* kSortedProperty = "pickListSorted";

void SortEntries(QStringList& entries) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
}

void SetDropDownCount(QComboBox& box) { box.setMaxVisibleItems(std::clamp(box.count(), 1, 20)); }

// Selects the entry equal to text (none when there is none); an editable box keeps text.
void Reselect(QComboBox& box, const QString& text) {
    if (text.isEmpty()) {
        box.setCurrentIndex(-1);
        return;
    }
    const int index = box.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box.setCurrentIndex(index);
    if (index < 0 && box.isEditable()) box.setEditText(text);
}

}  // namespace

void SetPickListSorted(QComboBox& box, bool sorted) { box.setProperty(kSortedProperty, sorted); }

bool PickListSorted(const QComboBox& box) { return box.property(kSortedProperty).toBool(); }

std::optional<TComboObj> ComboObjAt(const QComboBox& box, int index) {
    if (index < 1 || index >= box.count()) return std::nullopt;
    const QVariant data = box.itemData(index);
    if (data.metaType() != QMetaType::fromType<TComboObj>()) return std::nullopt;
    return data.value<TComboObj>();
}

void LoadPickList(QComboBox& box, const std::string& path) { LoadPickList(box, path, box.currentText()); }

void LoadPickList(QComboBox& box, const std::string& path, const QString& keepText) {
    const std::vector<std::string> lines = ReadPickList(path);
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) entries << FromBytes(line);
    if (PickListSorted(box)) SortEntries(entries);

    const QSignalBlocker block(box);
    box.clear();
    box.addItem(QString::fromLatin1(kNoneEntry));
    box.addItems(entries);
    SetDropDownCount(box);
    Reselect(box, keepText);
}

void LoadMagicPickList(QComboBox& box, const std::string& path) {
    const QString keepText = box.currentText();
    const std::vector<MagicEntry> entries = ReadMagicPickList(path);

    const QSignalBlocker block(box);
    box.clear();  // the entries' objects go with them
    box.addItem(QString::fromLatin1(kNoneEntry));
    for (const MagicEntry& entry : entries)
        box.addItem(FromBytes(entry.name), QVariant::fromValue(TComboObj{entry.code}));
    SetDropDownCount(box);
    Reselect(box, keepText);
}

void SavePickList(const QComboBox& box, const std::string& path, bool keepTrailing) {
    std::vector<std::string> entries;
    for (int i = 0; i < box.count(); ++i) {
        const QString text = box.itemText(i);
        if (text == QLatin1String(kNoneEntry)) continue;
        entries.push_back(ToBytes(text));
    }
    WritePickList(path, entries, keepTrailing);
}

bool EditPickList(QComboBox& box, const std::string& path, bool keepTrailing, Dialogs& dialogs, QWidget* owner,
                  const std::function<void(QWidget* panel)>& applyButtons) {
    const QString keepText = box.currentText();
    QStringList entries;
    for (int i = 0; i < box.count(); ++i)
        if (box.itemText(i) != QLatin1String(kNoneEntry)) entries << box.itemText(i);

    TEditTextForm editor(owner);
    if (applyButtons) applyButtons(editor.ButtonPanel());
    editor.SetLines(entries);
    if (dialogs.RunModal(editor) != QDialog::Accepted) return false;

    {
        const QSignalBlocker block(box);
        box.clear();
        box.addItem(QString::fromLatin1(kNoneEntry));
        box.addItems(editor.Lines());
    }
    try {
        SavePickList(box, path, keepTrailing);
    } catch (...) {
        LoadPickList(box, path, keepText);  // the box shows what the file still holds
        throw;
    }
    LoadPickList(box, path, keepText);
    return true;
}

}  // namespace stallmark
