#include "ui/club/club_window_parts.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "logic/club/account_fields.h"
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

QLabel* MakeRuleLine(QWidget* parent, const QRect& box, const QFont& font)
{
    auto* line = new QLabel(parent);
    line->setObjectName(QStringLiteral("RuleLine"));
    line->setGeometry(box);
    line->setTextFormat(Qt::PlainText);
    line->setFont(font);
    line->setStyleSheet(
        QStringLiteral("QLabel { color: rgb(120, 0, 0); background-color: rgba(255, 255, 200, 200); }"));
    line->hide();
    return line;
}

void SayRuleBroken(QLabel* line, std::optional<Msg> broken)
{
    line->setText(broken ? UiText(*broken) : QString());
    line->setVisible(broken.has_value());
}

void SayKeyRefused(QLabel* line, const QString& typed, std::function<void()> then)
{
    const auto byte = typed.isEmpty() ? std::nullopt : UnicodeToCp1251(typed[0].unicode());
    const QString why = UiText(byte ? KeyRefusal(*byte) : Msg::KeyRefused);
    line->setText(why);
    line->show();
    // For a moment only: then the field's own rule, if it breaks one.
    QTimer::singleShot(2500, line, [line, why, then = std::move(then)] {
        if (line->text() != why)
            return;
        line->hide();
        then();
    });
}

} // namespace vk
