#include "ui/club/club_window_parts.h"

#include <QLabel>
#include <QWidget>

#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "ui/localdata/apply_fonts.h"

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

QLabel* MakeNoteLabel(QWidget* parent, const char* name, const QRect& box, int pixelHeight, const QString& text)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(box);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    QFont font = MakeFont("Comic Sans MS", pixelHeight, true);
    font.setItalic(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: rgb(255, 255, 0);"));
    label->setText(text);
    return label;
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

QString ClubProblemText(ClubOutcome outcome, Msg refused)
{
    switch (outcome) {
    case ClubOutcome::Done: return {};
    case ClubOutcome::Unreachable: return UiText(Msg::ServerUnreachable);
    case ClubOutcome::ServerError: return UiText(Msg::ClubServerFault);
    case ClubOutcome::Refused: break;
    }
    return UiText(refused);
}

QLabel* MakeProblemLabel(QWidget* parent, const char* name, const QRect& box)
{
    auto* line = new QLabel(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setGeometry(box);
    line->setTextFormat(Qt::PlainText);
    line->setAlignment(Qt::AlignCenter);
    line->setWordWrap(true);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = parent->font();
    font.setBold(true);
    line->setFont(font);
    QPalette pal = line->palette();
    pal.setColor(QPalette::WindowText, QColor(200, 0, 0));
    line->setPalette(pal);
    line->hide();
    return line;
}

void ShowProblem(QLabel* line, ClubOutcome outcome, Msg refused)
{
    line->setText(ClubProblemText(outcome, refused));
    line->setVisible(outcome != ClubOutcome::Done);
}

} // namespace vk
