#pragma once
// Boxes without a window, for runs that nobody watches: the program uses
// them instead of the real boxes when the environment variable
// STALLMARK_NONINTERACTIVE is set (to anything but "0"), so that a script or
// a test that starts the real program is never stopped by a modal box.
//
// Every box is written to the error stream, one line
// "Stallmark <kind>: <text>" with line breaks as blanks, and answered with
// the button that changes nothing: Cancel, else No, else OK, else the first
// button offered. Input boxes, pickers and other dialogs are cancelled.

#include <cstdio>

#include "controls/Dialogs.h"

namespace stallmark {

class ConsoleDialogs final : public Dialogs {
public:
    explicit ConsoleDialogs(std::FILE* out = stderr) : out_(out) {}

    MsgButton ShowMessageBox(const QString& text, MsgKind kind, MsgButtons buttons) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool PickFont(QFont& font) override;
    bool PickColor(QColor& color) override;
    int RunModal(QDialog& dialog) override;
    void Beep() override {}

    // The answer ShowMessageBox gives when offered these buttons.
    static MsgButton SafeAnswer(MsgButtons buttons);
    // The line written for a box.
    static QString Line(const QString& text, MsgKind kind);

private:
    void Write(const QString& line);
    std::FILE* out_;
};

// Whether STALLMARK_NONINTERACTIVE asks for boxes without a window.
bool NonInteractiveRun();

}  // namespace stallmark
