#include "ui/club/attention_window.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

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

    Image1 = new PictureBox(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(5, 5, 48, 48);
    Image1->ResizeCanvas(48, 48);
    Image1->Canvas().fill(Qt::transparent);
    {
        QPainter p(&Image1->Canvas());
        DrawResPicture(QStringLiteral("GAttention048"), p, 0, 0, 0, 0, false);
    }

    const std::pair<QLabel**, const char*> labels[] = {{&Label1, "Label1"}, {&Label2, "Label2"}, {&Label3, "Label3"}};
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
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->installEventFilter(this);
    // The title and the text may overlap the lines under them; the later
    // label stays readable on top.
    Label2->raise();
    Label3->raise();

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFont(NoticeFont(true));
    Button1->setGeometry(5, 58, clientW - 10, 27);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

bool TFormLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label3 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OpenOutsideLink(this, Label3->text());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ShowAttention(QWidget* parent, const QString& title, const QString& text, const QString& link)
{
    TFormLink window(title, text, link, parent);
    window.exec();
}

} // namespace vk
