#include "lists/GameQuestions.h"

#include "controls/Dialogs.h"
#include "controls/Text1252.h"
#include "game/GameKeyboard.h"
#include "store/Fields.h"

namespace stallmark {

using namespace Qt::StringLiterals;

bool AskGamePosition(Dialogs& dialogs) {
    return dialogs.ShowMessageBox(u"Position game cursor in a book\n\ror your profile before proceeding."_s,
                                  MsgKind::Warning, mbOK | mbCancel) == mbOK;
}

bool AskAndClearBookOrProfile(Dialogs& dialogs, GameKeyboard& keyboard, const QString& defaultAnswer,
                              TypingSession* session) {
    QString answer = defaultAnswer;
    if (!dialogs.InputQuery(u"Clear book or profile"_s, u"No backspaces required to clear target"_s, answer))
        return false;
    const int count = ToIntOrZero(ToBytes(answer));
    if (!AskGamePosition(dialogs)) return false;
    if (session != nullptr) {
        session->SendBackspaces(count);
        return true;
    }
    return keyboard.SendBackspaces(count);
}

}  // namespace stallmark
