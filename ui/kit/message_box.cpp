#include "ui/kit/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/kit/text_codec.h"

namespace vk {
namespace {

void ShowWithOk(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, UiProductName(), text, QMessageBox::NoButton, parent);
    box.addButton(UiText(Msg::Ok), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

QString TwoLines(const QString& first, const QString& second) { return first + QStringLiteral("\n\r") + second; }

bool AskYesNo(QWidget* parent, const QString& text, DefaultAnswer defaultAnswer)
{
    QMessageBox box(QMessageBox::Question, UiProductName(), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(UiText(Msg::Yes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(UiText(Msg::No), QMessageBox::NoRole);
    box.setDefaultButton(defaultAnswer == DefaultAnswer::Yes ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void ShowError(QWidget* parent, const QString& text) { ShowWithOk(parent, QMessageBox::Critical, text); }

void ShowInformation(QWidget* parent, const QString& text) { ShowWithOk(parent, QMessageBox::Information, text); }

void ShowMessage(QWidget* parent, const QString& text) { ShowWithOk(parent, QMessageBox::NoIcon, text); }

} // namespace vk
