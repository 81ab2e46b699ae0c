#include "presentation/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "common/messages.h"
#include "presentation/text_codec.h"

namespace vk {
namespace {

QString Text(Msg id) { return FromUtf8(MessageText(id, 1)); }

QString Title() { return QStringLiteral("Вокаброн"); }

} // namespace

bool AskYesNo(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, Title(), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(Text(Msg::Yes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(Text(Msg::No), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void ShowError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, Title(), text, QMessageBox::NoButton, parent);
    box.addButton(Text(Msg::Ok), QMessageBox::AcceptRole);
    box.exec();
}

void ShowInformation(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Information, Title(), text, QMessageBox::NoButton, parent);
    box.addButton(Text(Msg::Ok), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace vk
