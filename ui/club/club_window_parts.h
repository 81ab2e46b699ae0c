#pragma once
// Pieces the world top ten and chat windows share: their quiz buttons in
// the program's shared colours and the light cyan boxes with dark blue
// text that the player types and picks in.
#include <QRect>
#include <QString>

class QWidget;

namespace vk {

class TTevQuizButton;

// A quiz button in the shared colours: navy face, aqua caption, yellow
// under the mouse.
TTevQuizButton* MakeSharedButton(QWidget* parent, const char* name, const QString& caption, const QRect& box);

// Light cyan background, dark blue text.
void SetEntryColours(QWidget* entry);

} // namespace vk
