#pragma once
// Everything that asks the player something or shows a box goes through
// this seam, so that tests can script the answers and never block.

#include <QColor>
#include <QFont>
#include <QString>

class QDialog;
class QWidget;

namespace stallmark {

enum class MsgKind { Warning, Error, Information, Confirmation };

// Buttons of a message box, combinable; the result is one of them.
enum MsgButton : int {
    mbNone = 0,
    mbYes = 1 << 0,
    mbNo = 1 << 1,
    mbOK = 1 << 2,
    mbCancel = 1 << 3,
    mbAbort = 1 << 4,
    mbRetry = 1 << 5,
    mbIgnore = 1 << 6,
};
using MsgButtons = int;

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box of this kind, preceded by the kind's system sound;
    // returns the button pressed.
    virtual MsgButton ShowMessageBox(const QString& text, MsgKind kind, MsgButtons buttons) = 0;
    // The input box: caption, prompt, default answer. std::nullopt-like
    // false on Cancel; value then stays as it was.
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
    // The standard font and colour pickers; false on Cancel.
    virtual bool PickFont(QFont& font) = 0;
    virtual bool PickColor(QColor& color) = 0;
    // Shows a dialog modally; returns its result (QDialog::Accepted or Rejected).
    virtual int RunModal(QDialog& dialog) = 0;
    // The system beep for a refused key.
    virtual void Beep() = 0;
};

// The real boxes, centred over the program's active window.
class QtDialogs final : public Dialogs {
public:
    MsgButton ShowMessageBox(const QString& text, MsgKind kind, MsgButtons buttons) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool PickFont(QFont& font) override;
    bool PickColor(QColor& color) override;
    int RunModal(QDialog& dialog) override;
    void Beep() override;
};

// Message texts write a line break as LF CR; shown boxes want plain LF.
QString DisplayText(const QString& text);

// The font a picker starts from: the one the system draws for this font
// (family, style and size as drawn), so that the picker shows what the
// player sees.
QFont FontAsDrawn(const QFont& font);

}  // namespace stallmark
