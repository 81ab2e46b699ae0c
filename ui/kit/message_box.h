#pragma once
// The program's message boxes, titled with the product's name and with its
// own button texts, in the language the program speaks.
#include <QString>

class QWidget;

namespace vk {

enum class DefaultAnswer { Yes, No };

// Two lines of one box's text, joined the way every box of the program
// breaks its lines: LF followed by CR.
QString TwoLines(const QString& first, const QString& second);

// Confirmation box with "Да" and "Нет"; true for "Да".  Enter gives "Да" as
// in every classic Yes/No box; a question whose "Да" loses the player's
// data asks for DefaultAnswer::No, so that a hasty Enter keeps it.
bool AskYesNo(QWidget* parent, const QString& text, DefaultAnswer defaultAnswer = DefaultAnswer::Yes);
void ShowError(QWidget* parent, const QString& text);
void ShowInformation(QWidget* parent, const QString& text);
// A box with the text and "OK" only, no icon.
void ShowMessage(QWidget* parent, const QString& text);

} // namespace vk
