#pragma once
// How the program's dialogs sit on the desktop, whoever shows them: a title
// bar with a close box at most (never minimise or maximise buttons), wide
// enough to show the whole title, and kept above their owner when the owner
// stays on top of other windows.

#include <QString>

class QFont;
class QWidget;

namespace stallmark {

// Sets the window flags (before the dialog is first shown), its least width
// for the title, and what the window manager needs told. owner: the window
// the dialog belongs to (its parent's window when null).
void PrepareDialogWindow(QWidget& dialog, QWidget* owner = nullptr);

// The width a frame needs to show this title whole: the text in a bold font
// the size of `font`, and room for the window's icon, its close box and the
// frame's margins.
int TitleRoom(const QString& title, const QFont& font);

}  // namespace stallmark
