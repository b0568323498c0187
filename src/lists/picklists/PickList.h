#pragma once
// Pick lists in their combo boxes: "(None)" always first, then the entries of the list's
// file; a sorted box keeps the entries after "(None)" in alphabetical order. The weapon
// magic box carries each entry's special status code as a TComboObj.

#include <QMetaType>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QWidget;

namespace stallmark {

class Dialogs;

inline constexpr const char* kNoneEntry = "(None)";

// The object carried by an entry of the weapon magic box: its special status code.
struct TComboObj {
    int code = 0;  // 0 none, 1 virtue, 2 silver
};

// Marks a box as sorted (its entries after "(None)" in alphabetical order) or not.
void SetPickListSorted(QComboBox& box, bool sorted);
bool PickListSorted(const QComboBox& box);

// The TComboObj of entry index; none for "(None)" and for boxes that carry none.
std::optional<TComboObj> ComboObjAt(const QComboBox& box, int index);

// Fills a plain box from the file at path: "(None)", then every line that is not blank.
// The entry equal to the box's text before (or to keepText when given) is selected again;
// an editable box keeps its text when no entry equals it. The drop-down shows as many
// lines as there are entries, 1 to 20. No change signal is sent.
void LoadPickList(QComboBox& box, const std::string& path);
void LoadPickList(QComboBox& box, const std::string& path, const QString& keepText);

// Fills the weapon magic box from its file: each entry carries its code.
void LoadMagicPickList(QComboBox& box, const std::string& path);

// Writes the box's entries other than "(None)" to the file at path, each cleaned (commas
// become blanks, blanks trimmed; trailing ones kept with keepTrailing).
void SavePickList(const QComboBox& box, const std::string& path, bool keepTrailing);

// Edits a plain box's entries as lines of text in the text editor (TEditTextForm), shown
// modally over owner. On OK the lines are saved to path and the box is reloaded from it;
// on Cancel nothing changes. applyButtons, when set, styles the editor's button bar.
// True when the editor closed with OK.
bool EditPickList(QComboBox& box, const std::string& path, bool keepTrailing, Dialogs& dialogs, QWidget* owner,
                  const std::function<void(QWidget* panel)>& applyButtons = {});

}  // namespace stallmark

Q_DECLARE_METATYPE(stallmark::TComboObj)
