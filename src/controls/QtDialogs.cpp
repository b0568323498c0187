#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "controls/Dialogs.h"

namespace stallmark {

QString DisplayText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    out.remove(QChar('\r'));
    return out;
}

MsgButton QtDialogs::ShowMessageBox(const QString& text, MsgKind kind, MsgButtons buttons) {
    QMessageBox box(QApplication::activeWindow());
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
    // The box plays the sound of its icon on platforms that have one.
    QApplication::beep();
    const int result = box.exec();
    for (const Pair& p : kPairs)
        if (result == p.qt) return p.ours;
    return (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : mbOK;
}

bool QtDialogs::InputQuery(const QString& caption, const QString& prompt, QString& value) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(QApplication::activeWindow(), caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok) value = answer;
    return ok;
}

bool QtDialogs::PickFont(QFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, QApplication::activeWindow());
    if (ok) font = chosen;
    return ok;
}

bool QtDialogs::PickColor(QColor& color) {
    const QColor chosen = QColorDialog::getColor(color, QApplication::activeWindow());
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
}

int QtDialogs::RunModal(QDialog& dialog) { return dialog.exec(); }

void QtDialogs::Beep() { QApplication::beep(); }

}  // namespace stallmark
