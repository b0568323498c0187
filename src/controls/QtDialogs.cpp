#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

#include "controls/DialogWindow.h"
#include "controls/Dialogs.h"

namespace stallmark {

namespace {

// The window a box belongs to: the one the player is working in, or, while
// none is active (the focus on its way between windows), the program's
// visible window, so that a box never opens behind it unowned.
QWidget* BoxOwner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->windowType() == Qt::Window) return top;
    return nullptr;
}

// Runs a dialog modally and gives the keyboard focus back to the window that
// had it (a window manager may hand it to another window of the program).
int ExecAndReturnFocus(QDialog& dialog) {
    QPointer<QWidget> before = QApplication::activeWindow();
    const int result = dialog.exec();
    if (before && before != &dialog && before->isVisible()) {
        before->raise();
        before->activateWindow();
    }
    return result;
}

}  // namespace

QString DisplayText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    out.remove(QChar(u'\r'));
    return out;
}

MsgButton QtDialogs::ShowMessageBox(const QString& text, MsgKind kind, MsgButtons buttons) {
    QMessageBox box(BoxOwner());
    box.setWindowTitle(QApplication::applicationName());
    box.setText(DisplayText(text));
    switch (kind) {
        case MsgKind::Warning: box.setIcon(QMessageBox::Warning); break;
        case MsgKind::Error: box.setIcon(QMessageBox::Critical); break;
        case MsgKind::Information: box.setIcon(QMessageBox::Information); break;
        case MsgKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    }
    struct Pair {
        MsgButton ours;
        QMessageBox::StandardButton qt;
    };
    static const Pair kPairs[] = {{mbYes, QMessageBox::Yes},      {mbNo, QMessageBox::No},
                                  {mbOK, QMessageBox::Ok},        {mbCancel, QMessageBox::Cancel},
                                  {mbAbort, QMessageBox::Abort},  {mbRetry, QMessageBox::Retry},
                                  {mbIgnore, QMessageBox::Ignore}};
    QMessageBox::StandardButtons qtButtons;
    for (const Pair& p : kPairs)
        if (buttons & p.ours) qtButtons |= p.qt;
    if (!qtButtons) qtButtons = QMessageBox::Ok;
    box.setStandardButtons(qtButtons);
    PrepareDialogWindow(box);
    // The box plays the sound of its icon on platforms that have one.
    QApplication::beep();
    const int result = ExecAndReturnFocus(box);
    for (const Pair& p : kPairs)
        if (result == p.qt) return p.ours;
    return (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : mbOK;
}

bool QtDialogs::InputQuery(const QString& caption, const QString& prompt, QString& value) {
    QInputDialog box(BoxOwner());
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(value);
    PrepareDialogWindow(box);
    if (ExecAndReturnFocus(box) != QDialog::Accepted) return false;
    value = box.textValue();
    return true;
}

QFont FontAsDrawn(const QFont& font) {
    // The font the name and size stand for may not be on this system; the
    // picker starts from the one that is drawn instead, in its upright style.
    const QFontInfo drawn(font);
    QFont shown(drawn.family());
    shown.setPointSize(drawn.pointSize() > 0 ? drawn.pointSize() : font.pointSize());
    shown.setStyleName(drawn.styleName());
    shown.setItalic(drawn.italic());
    shown.setWeight(static_cast<QFont::Weight>(drawn.weight()));
    return shown;
}

bool QtDialogs::PickFont(QFont& font) {
    QFontDialog picker(FontAsDrawn(font), BoxOwner());
    PrepareDialogWindow(picker);
    if (ExecAndReturnFocus(picker) != QDialog::Accepted) return false;
    font = picker.selectedFont();
    return true;
}

bool QtDialogs::PickColor(QColor& color) {
    QColorDialog picker(color, BoxOwner());
    PrepareDialogWindow(picker);
    if (ExecAndReturnFocus(picker) != QDialog::Accepted) return false;
    const QColor chosen = picker.selectedColor();
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
}

int QtDialogs::RunModal(QDialog& dialog) {
    PrepareDialogWindow(dialog);
    return ExecAndReturnFocus(dialog);
}

void QtDialogs::Beep() { QApplication::beep(); }

}  // namespace stallmark
