#include "ui/kit/dialog_base.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

#include "common/rounding.h"
#include "ui/kit/audio.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/quiz_button.h"

namespace vk {

LocalDialog::LocalDialog(Settings& prefs, const QImage& background, QSize clientSize, QWidget* parent)
    : QDialog(parent), prefs_(prefs), background_(background)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(clientSize);
    setModal(true);
    PlayEffect = [](const QString& name) { PlayWavRes(name, true); };
}

void LocalDialog::ClickSound() const
{
    if (prefs_.SoundOn && PlayEffect)
        PlayEffect(QStringLiteral("WClick"));
}

void LocalDialog::PaintAreaBackground(QPainter& canvas, QPoint areaPos) const
{
    if (background_.isNull()) {
        // Before the intro has ended there is no background yet; the areas
        // are then plain black, like the main window.
        canvas.fillRect(canvas.window(), Qt::black);
        return;
    }
    PaintFormBackground(canvas, background_, areaPos.x(), areaPos.y(), width(), height());
}

void LocalDialog::PaintAreaBackground(PictureBox& area) const
{
    area.ResizeCanvas(area.width(), area.height());
    QPainter p(&area.Canvas());
    PaintAreaBackground(p, area.pos());
}

void LocalDialog::DressArea(PictureBox& area, std::initializer_list<PicturePlace> pictures) const
{
    PaintAreaBackground(area);
    {
        QPainter p(&area.Canvas());
        for (const PicturePlace& picture : pictures) {
            const bool scaled = picture.Width > 0 && picture.Height > 0;
            DrawResPicture(QString::fromLatin1(picture.Name), p, picture.X, picture.Y, picture.Width, picture.Height,
                           scaled);
        }
    }
    area.update();
}

void LocalDialog::PaintWindowBackground(QPainter& canvas) const { PaintAreaBackground(canvas, QPoint(0, 0)); }

TTevQuizButton* LocalDialog::MakeOkButton(const QRect& box)
{
    auto* ok = new TTevQuizButton(this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setText(QStringLiteral("Ok"));
    ok->setGeometry(box);
    connect(ok, &QPushButton::clicked, this, [this] {
        ClickSound();
        accept();
    });
    return ok;
}

void LocalDialog::CentreOnParent()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect frame = frameGeometry();
    QRect around;
    if (owner && owner->isVisible())
        around = owner->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        around = screen->availableGeometry();
    if (around.isEmpty())
        return;
    move(around.x() + RoundInt((around.width() - frame.width()) / 2.0),
         around.y() + RoundInt((around.height() - frame.height()) / 2.0));
}

void LocalDialog::showEvent(QShowEvent* event)
{
    CentreOnParent();
    QDialog::showEvent(event);
}

void LocalDialog::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    PaintWindowBackground(p);
}

bool DrawSmoothPicture(const QString& name, QPainter& canvas, int x, int y, int width, int height)
{
    const auto bytes = ResourceBytes(ResourceKind::Raw, name);
    if (!bytes)
        return false;
    QImage picture = QImage::fromData(*bytes, "PNG");
    if (picture.isNull())
        return false;
    if (const auto refusal = ResizePngSmooth(picture, width, height)) {
        qWarning("%s: %s", qUtf8Printable(name), qUtf8Printable(*refusal));
        return false;
    }
    canvas.drawImage(x, y, picture);
    return true;
}

void TextOutAt(const QString& text, int x, int y, QPainter& canvas)
{
    canvas.drawText(x, y + canvas.fontMetrics().ascent(), text);
}

void FitLabelInBox(QLabel* label, const QRect& box)
{
    // Two pixels each side, as the label's own frame margin leaves them.
    // A text too long even for the narrowest face (an address a
    // distributor chose) gets a smaller one as well.
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    const int room = box.width() - 4;
    QFont font = NarrowedFont(lines, room, label->font());
    while (!LinesFit(lines, room, font) && font.pixelSize() > 6) {
        font.setPixelSize(font.pixelSize() - 1);
        font = NarrowedFont(lines, room, font);
    }
    label->setFont(font);
    const int needed = label->fontMetrics().size(0, label->text()).height();
    label->setGeometry(box.adjusted(0, 0, 0, std::max(0, needed - box.height())));
}

PictureBox* MakePictureArea(QWidget* parent, const char* name, const QRect& box)
{
    auto* area = new PictureBox(parent);
    area->setObjectName(QString::fromLatin1(name));
    area->setGeometry(box);
    area->ResizeCanvas(box.width(), box.height());
    return area;
}

} // namespace vk
