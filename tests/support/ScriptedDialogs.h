#pragma once
// Dialogs for tests: records every box shown and answers from queues.
// With an empty queue a message box answers its first sensible button
// (OK, else Yes), an input box answers Cancel, a picker answers Cancel and a
// modal dialog is rejected.

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "controls/Dialogs.h"

namespace stallmark::test {

struct ShownBox {
    QString text;
    MsgKind kind;
    MsgButtons buttons;
};

struct ShownInput {
    QString caption;
    QString prompt;
    QString defaultAnswer;
};

class ScriptedDialogs final : public Dialogs {
public:
    MsgButton ShowMessageBox(const QString& text, MsgKind kind, MsgButtons buttons) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool PickFont(QFont& font) override;
    bool PickColor(QColor& color) override;
    int RunModal(QDialog& dialog) override;
    void Beep() override { ++beeps; }

    // Queued answers, used first in, first out.
    std::deque<MsgButton> boxAnswers;
    std::deque<std::optional<QString>> inputAnswers;  // nullopt: Cancel
    std::deque<std::optional<QFont>> fontAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    // Each handler acts on the dialog's widgets and returns its result.
    std::deque<std::function<int(QDialog&)>> modalHandlers;

    std::vector<ShownBox> boxes;
    std::vector<ShownInput> inputs;
    int fontPicks = 0;
    int colorPicks = 0;
    int modalRuns = 0;
    int beeps = 0;

    QStringList Texts() const;
    void Clear();
};

}  // namespace stallmark::test
