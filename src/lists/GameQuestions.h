#pragma once
// The two questions asked before typing into a book or the character profile in the
// game, shared by the window and every list that types into one.

#include <QString>

namespace stallmark {

class Dialogs;
class GameKeyboard;
class TypingSession;

// "Position game cursor in a book ..." with OK and Cancel: true on OK.
bool AskGamePosition(Dialogs& dialogs);

// Asks how many backspaces clear the target ("Clear book or profile", defaultAnswer
// filled in), confirms the game position, then posts exactly that many backspaces,
// through session when one holds the keyboard. True when they were posted.
bool AskAndClearBookOrProfile(Dialogs& dialogs, GameKeyboard& keyboard, const QString& defaultAnswer,
                              TypingSession* session = nullptr);

}  // namespace stallmark
