#pragma once
// Pieces the club's windows share: the quiz buttons of the world top ten
// and chat windows in the program's shared colours, the light cyan boxes
// with dark blue text that the player types and picks in, the line that
// says why a list is empty and the line that says which rule a field
// breaks.
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

#include "common/messages.h"
#include "net/club_outcome.h"

class QFont;
class QLabel;
class QWidget;

namespace vk {

class TTevQuizButton;

// A quiz button in the shared colours: navy face, aqua caption, yellow
// under the mouse.
TTevQuizButton* MakeSharedButton(QWidget* parent, const char* name, const QString& caption, const QRect& box);

// A centred, wrapped note in yellow "Comic Sans MS" bold italic, taken as
// plain text.
QLabel* MakeNoteLabel(QWidget* parent, const char* name, const QRect& box, int pixelHeight, const QString& text);

// Light cyan background, dark blue text.
void SetEntryColours(QWidget* entry);

// What the player is told when a club request did not succeed: the club
// cannot be reached, its server failed, or (it answered and refused) the
// text `refused`.  Empty when the request was done.
QString ClubProblemText(ClubOutcome outcome, Msg refused);

// The line that says why a list of the club is empty: red, bold, centred,
// wrapped, over the list's own picture; hidden while nothing is wrong.
QLabel* MakeProblemLabel(QWidget* parent, const char* name, const QRect& box);
// Shows what `outcome` means in the line (hides it when done).
void ShowProblem(QLabel* line, ClubOutcome outcome, Msg refused);

// The line beside a form's fields that says which rule the text of a field
// breaks, or for a moment why a typed key was refused: dark red on pale
// yellow, hidden while nothing is wrong.
QLabel* MakeRuleLine(QWidget* parent, const QRect& box, const QFont& font);
// Says the rule `broken` in the line; hides it when nothing is broken.
void SayRuleBroken(QLabel* line, std::optional<Msg> broken);
// Says for a moment why the key that typed `typed` was refused; then,
// unless the line has said something else meanwhile, hides it and runs
// `then` (which says the field's own rule again).
void SayKeyRefused(QLabel* line, const QString& typed, std::function<void()> then);

} // namespace vk
