#include "app/ConsoleDialogs.h"

#include <QDialog>

namespace stallmark {

using namespace Qt::Literals::StringLiterals;

MsgButton ConsoleDialogs::SafeAnswer(MsgButtons buttons) {
    for (MsgButton b : {mbCancel, mbNo, mbOK})
        if ((buttons & b) != 0) return b;
    for (int bit = 1; bit <= mbIgnore; bit <<= 1)
        if ((buttons & bit) != 0) return static_cast<MsgButton>(bit);
    return mbOK;
}

QString ConsoleDialogs::Line(const QString& text, MsgKind kind) {
    const char* name = kind == MsgKind::Error         ? "error"
                       : kind == MsgKind::Warning     ? "warning"
                       : kind == MsgKind::Information ? "information"
                                                      : "confirmation";
    QString flat = text;
    flat.replace(u"\n\r"_s, u" "_s).replace(u'\n', u' ').replace(u'\r', u' ');
    return u"Stallmark "_s + QLatin1StringView(name) + u": "_s + flat.simplified();
}

void ConsoleDialogs::Write(const QString& line) {
    std::fputs((line + u'\n').toLocal8Bit().constData(), out_);
    std::fflush(out_);
}

MsgButton ConsoleDialogs::ShowMessageBox(const QString& text, MsgKind kind, MsgButtons buttons) {
    Write(Line(text, kind));
    return SafeAnswer(buttons);
}

bool ConsoleDialogs::InputQuery(const QString& caption, const QString& prompt, QString&) {
    Write(u"Stallmark input cancelled: "_s + caption + u" - "_s + prompt);
    return false;
}

bool ConsoleDialogs::PickFont(QFont&) { return false; }
bool ConsoleDialogs::PickColor(QColor&) { return false; }

int ConsoleDialogs::RunModal(QDialog& dialog) {
    Write(u"Stallmark dialog cancelled: "_s + dialog.windowTitle());
    return QDialog::Rejected;
}

bool NonInteractiveRun() {
    const QByteArray value = qgetenv("STALLMARK_NONINTERACTIVE");
    return !value.isEmpty() && value != "0";
}

}  // namespace stallmark
