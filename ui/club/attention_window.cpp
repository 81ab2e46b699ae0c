#include "ui/club/attention_window.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include "ui/kit/accessibility.h"
#include "ui/kit/link_opener.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"

namespace vk {
namespace {

constexpr int kLabelLeft = 59;
constexpr int kClientHeight = 90;

QFont NoticeFont(bool bold)
{
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPixelSize(20);
    font.setBold(bold);
    return font;
}

} // namespace

int TFormLink::ClientWidthFor(int widestText)
{
    const int w = widestText + kLabelLeft;
    return w >= 350 ? w + 50 : 400;
}

TFormLink::TFormLink(const QString& title, const QString& text, const QString& link, QWidget* parent, NoticeKind kind)
    : QDialog(parent), kind_(kind)
{
    setObjectName(QStringLiteral("FormLink"));
    setWindowTitle(QStringLiteral("Attention"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_DeleteOnClose, false);

    const QFontMetrics metrics(NoticeFont(false));
    int widest = 0;
    for (const QString& s : {title, text, link})
        widest = std::max(widest, metrics.horizontalAdvance(s));
    // Never wider than the screen.
    int clientW = ClientWidthFor(widest);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        clientW = std::min(clientW, std::max(400, screen->availableGeometry().width() - 40));
    const bool cut = clientW < ClientWidthFor(widest);
    link_ = link;

    iconArea = new PictureBox(this);
    iconArea->setObjectName(QStringLiteral("Image1"));
    iconArea->setGeometry(5, 5, 48, 48);
    iconArea->ResizeCanvas(48, 48);
    iconArea->Canvas().fill(Qt::transparent);
    {
        QPainter p(&iconArea->Canvas());
        if (kind == NoticeKind::Information)
            p.drawPixmap(0, 0, style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
        else
            DrawResPicture(QStringLiteral("GAttention048"), p, 0, 0, 0, 0, false);
    }

    // The lines stand one under the other, each whole; the window grows
    // under them when three lines need more than its height.
    const std::pair<QLabel**, const char*> labels[] = {
        {&titleLabel, "Label1"}, {&textLabel, "Label2"}, {&linkLabel, "Label3"}};
    const QString texts[3] = {title, text, link};
    const int labelW = clientW - kLabelLeft - 5;
    int top = 5;
    for (int i = 0; i < 3; ++i) {
        QFont font = NoticeFont(true);
        font.setUnderline(i == 2);
        const QFontMetrics lineMetrics(font);
        // A line too long for the screen is cut at the window's edge and
        // shown whole in its tooltip.
        QLabel* l = new QLabel(texts[i], this);
        l->setObjectName(QLatin1String(labels[i].second));
        l->setTextFormat(Qt::PlainText);
        l->setFont(font);
        if (cut && lineMetrics.horizontalAdvance(texts[i]) > labelW)
            l->setToolTip(texts[i]);
        l->setGeometry(kLabelLeft, top, labelW, lineMetrics.height());
        l->setVisible(!texts[i].isEmpty());
        if (!texts[i].isEmpty())
            top += lineMetrics.height();
        *labels[i].first = l;
    }
    linkLabel->setCursor(Qt::PointingHandCursor);
    linkLabel->installEventFilter(this);
    const int okTop = std::max(58, top + 4);
    setFixedSize(clientW, std::max(kClientHeight, okTop + 32));

    okButton = new QPushButton(QStringLiteral("Ok"), this);
    okButton->setObjectName(QStringLiteral("Button1"));
    okButton->setFont(NoticeFont(true));
    okButton->setGeometry(5, okTop, clientW - 10, 27);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    // The link is reached by Tab after "Ok", which keeps the focus to start
    // with; Return or Space opens it.
    linkLabel->setFocusPolicy(Qt::TabFocus);
    setTabOrder(okButton, linkLabel);
    okButton->setFocus();
}

bool TFormLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == linkLabel && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OpenOutsideLink(this, link_);
        return true;
    }
    if (watched == linkLabel && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            OpenOutsideLink(this, linkLabel->text());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormLink::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QString said =
        textLabel->text().isEmpty() ? titleLabel->text() : titleLabel->text() + QLatin1Char(' ') + textLabel->text();
    AnnounceAlert(this, said);
}

void ShowAttention(QWidget* parent, const QString& title, const QString& text, const QString& link)
{
    TFormLink window(title, text, link, parent);
    window.exec();
}

void ShowGoodNews(QWidget* parent, const QString& title)
{
    TFormLink window(title, {}, {}, parent, NoticeKind::Information);
    window.exec();
}

} // namespace vk
