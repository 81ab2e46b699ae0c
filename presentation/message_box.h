#pragma once
// The program's message boxes, with its own Russian button texts.
#include <QString>

class QWidget;

namespace vk {

// Confirmation box with "Да" and "Нет"; true for "Да".
bool AskYesNo(QWidget* parent, const QString& text);
void ShowError(QWidget* parent, const QString& text);
void ShowInformation(QWidget* parent, const QString& text);

} // namespace vk
