#include "ui/club/attention_window.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

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

TFormLink::TFormLink(const QString& title, const QString& text, const QString& link, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormLink"));
    setWindowTitle(QStringLiteral("Attention"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_DeleteOnClose, false);

    const QFontMetrics metrics(NoticeFont(false));
    int widest = 0;
    for (const QString& s : {title, text, link})
        widest = std::max(widest, metrics.horizontalAdvance(s));
    const int clientW = ClientWidthFor(widest);
    setFixedSize(clientW, kClientHeight);

    iconArea = new PictureBox(this);
    iconArea->setObjectName(QStringLiteral("Image1"));
    iconArea->setGeometry(5, 5, 48, 48);
    iconArea->ResizeCanvas(48, 48);
    iconArea->Canvas().fill(Qt::transparent);
    {
        QPainter p(&iconArea->Canvas());
        DrawResPicture(QStringLiteral("GAttention048"), p, 0, 0, 0, 0, false);
    }

    const std::pair<QLabel**, const char*> labels[] = {{&titleLabel, "Label1"}, {&textLabel, "Label2"}, {&linkLabel, "Label3"}};
    const QString texts[3] = {title, text, link};
    for (int i = 0; i < 3; ++i) {
        QLabel* l = new QLabel(texts[i], this);
        l->setObjectName(QLatin1String(labels[i].second));
        l->setTextFormat(Qt::PlainText);
        QFont font = NoticeFont(true);
        font.setUnderline(i == 2);
        l->setFont(font);
        l->setGeometry(kLabelLeft, 5 + 16 * i, clientW - kLabelLeft - 5, QFontMetrics(font).height());
        l->setVisible(!texts[i].isEmpty());
        *labels[i].first = l;
    }
    linkLabel->setCursor(Qt::PointingHandCursor);
    linkLabel->installEventFilter(this);
    // The title and the text may overlap the lines under them; the later
    // label stays readable on top.
    textLabel->raise();
    linkLabel->raise();

    okButton = new QPushButton(QStringLiteral("Ok"), this);
    okButton->setObjectName(QStringLiteral("Button1"));
    okButton->setFont(NoticeFont(true));
    okButton->setGeometry(5, 58, clientW - 10, 27);
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
        OpenOutsideLink(this, linkLabel->text());
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
    const QString said = textLabel->text().isEmpty() ? titleLabel->text()
                                                     : titleLabel->text() + QLatin1Char(' ') + textLabel->text();
    AnnounceAlert(this, said);
}

void ShowAttention(QWidget* parent, const QString& title, const QString& text, const QString& link)
{
    TFormLink window(title, text, link, parent);
    window.exec();
}

} // namespace vk
