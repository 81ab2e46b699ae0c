#pragma once
// Pieces the world top ten and chat windows share: their quiz buttons in
// the program's shared colours and the light cyan boxes with dark blue
// text that the player types and picks in.
#include <QRect>
#include <QString>

#include "common/messages.h"
#include "net/club_outcome.h"

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

} // namespace vk
