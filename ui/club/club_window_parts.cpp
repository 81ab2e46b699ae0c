#include "ui/club/club_window_parts.h"

#include <QWidget>

#include "ui/kit/quiz_button.h"

namespace vk {

TTevQuizButton* MakeSharedButton(QWidget* parent, const char* name, const QString& caption, const QRect& box)
{
    auto* b = new TTevQuizButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setGeometry(box);
    b->SetColorSB(DNavy);
    b->SetFontColor(0xFFFF00);
    b->SetColorMouse(0x00FFFF);
    b->SetGrayDis(true);
    return b;
}

void SetEntryColours(QWidget* entry)
{
    QPalette pal = entry->palette();
    pal.setColor(QPalette::Base, QColor(200, 255, 255));
    pal.setColor(QPalette::Text, QColor(0, 0, 100));
    pal.setColor(QPalette::Button, QColor(200, 255, 255));
    pal.setColor(QPalette::ButtonText, QColor(0, 0, 100));
    pal.setColor(QPalette::Window, QColor(200, 255, 255));
    pal.setColor(QPalette::WindowText, QColor(0, 0, 100));
    entry->setPalette(pal);
}

} // namespace vk
