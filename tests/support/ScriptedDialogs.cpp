#include "support/ScriptedDialogs.h"

#include <QDialog>

namespace stallmark::test {

MsgButton ScriptedDialogs::ShowMessageBox(const QString& text, MsgKind kind, MsgButtons buttons) {
    boxes.push_back({text, kind, buttons});
    if (!boxAnswers.empty()) {
        const MsgButton answer = boxAnswers.front();
        boxAnswers.pop_front();
        return answer;
    }
    if (buttons & mbOK) return mbOK;
    if (buttons & mbYes) return mbYes;
    return mbOK;
}

bool ScriptedDialogs::InputQuery(const QString& caption, const QString& prompt, QString& value) {
    inputs.push_back({caption, prompt, value});
    if (inputAnswers.empty()) return false;
    auto answer = inputAnswers.front();
    inputAnswers.pop_front();
    if (!answer) return false;
    value = *answer;
    return true;
}

bool ScriptedDialogs::PickFont(QFont& font) {
    ++fontPicks;
    if (fontAnswers.empty()) return false;
    auto answer = fontAnswers.front();
    fontAnswers.pop_front();
    if (!answer) return false;
    font = *answer;
    return true;
}

bool ScriptedDialogs::PickColor(QColor& color) {
    ++colorPicks;
    if (colorAnswers.empty()) return false;
    auto answer = colorAnswers.front();
    colorAnswers.pop_front();
    if (!answer) return false;
    color = *answer;
    return true;
}

int ScriptedDialogs::RunModal(QDialog& dialog) {
    ++modalRuns;
    if (modalHandlers.empty()) {
        dialog.reject();
        return QDialog::Rejected;
    }
    auto handler = std::move(modalHandlers.front());
    modalHandlers.pop_front();
    return handler(dialog);
}

QStringList ScriptedDialogs::Texts() const {
    QStringList out;
    for (const auto& b : boxes) out << b.text;
    return out;
}

void ScriptedDialogs::Clear() {
    boxes.clear();
    inputs.clear();
    boxAnswers.clear();
    inputAnswers.clear();
    fontAnswers.clear();
    colorAnswers.clear();
    modalHandlers.clear();
    fontPicks = colorPicks = modalRuns = beeps = 0;
}

}  // namespace stallmark::test
