#pragma once
// What a screen reader learns of the controls the program paints itself:
// the owner-drawn button, and pictures that show a list or a table of
// texts.  A window hands its texts to the helpers below whenever it draws
// them; the interfaces read them back when asked.
#include <QString>
#include <QStringList>

class QWidget;

namespace vk {

// Installs the program's accessibility factory; later calls do nothing.
// Must come before the first window is shown.
void InstallAccessibility();

// A picture that shows a list: the text of each item, top to bottom.
void SetAccessibleItems(QWidget* list, const QStringList& items);
// More items drawn under those the list already shows.
void AppendAccessibleItems(QWidget* list, const QStringList& items);
// A picture that shows a table: the cells row by row, `columns` a row.
void SetAccessibleCells(QWidget* table, int columns, const QStringList& cells);
// The whole text of a painted list or table, a line a row.
QString AccessibleText(const QWidget* picture);
// A picture that shows a number: read as a label named `name`, holding
// `value`.
void SetAccessibleValue(QWidget* label, const QString& name, double value);
// An owner-drawn button that is an item of a list (a member line).
void MarkAsListItem(QWidget* button);
// A bare widget that holds the items of a list, read as a list named `name`;
// the items are made as its children.
QWidget* NewAccessibleList(QWidget* parent, const QString& name);

// Tells the screen reader that the text a control reads changed.
void AnnounceTextChange(QWidget* control, const QString& oldText, const QString& newText);
// Something the player must hear at once, said by `window`.
void AnnounceAlert(QWidget* window, const QString& text);

} // namespace vk
