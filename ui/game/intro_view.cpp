#include "ui/game/intro_view.h"

#include <QFont>
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>
#include <memory>

#include "common/rounding.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/audio.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"

namespace vk {
namespace {

// The longest the title's reveal holds the window at a time.
constexpr qint64 kStepSliceMs = 8;

void StartAnimation(AnimationPlayer* player, int left, int top, const QString& name, bool* ok = nullptr)
{
    player->move(left, top);
    player->show();
    player->raise();
    const bool loaded = LoadGifRes(name, *player);
    if (ok)
        *ok = loaded;
}

// Fills the picture control black, one pixel beyond each edge.
void FillBlack(PictureBox& box, int width, int height)
{
    box.ResizeCanvas(width, height);
    QPainter p(&box.Canvas());
    p.fillRect(-1, -1, width + 2, height + 2, Qt::black);
}

} // namespace

IntroView::IntroView(QWidget* window) : QObject(window)
{
    surface = new PictureBox(window);
    surface->setObjectName(QStringLiteral("Image1"));
    surface->hide();
    const std::pair<AnimationPlayer**, const char*> players[] = {
        {&firstAnimation, "RxGIFAn1"}, {&leftAnimation, "RxGIFAn2"}, {&bottomAnimation, "RxGIFAn3"}};
    for (const auto& [player, name] : players) {
        *player = new AnimationPlayer(window);
        (*player)->setObjectName(QLatin1String(name));
        (*player)->resize(70, 70);
        (*player)->hide();
    }
    connect(firstAnimation, &AnimationPlayer::frameChanged, this, &IntroView::frameChanged);
    connect(surface, &PictureBox::clicked, this, &IntroView::clicked);
}

void IntroView::StopFirstAnimation()
{
    // Only hidden and stopped here: this runs inside the animation's own
    // frame report, and the next step loads the player again.
    firstAnimation->hide();
    firstAnimation->Stop();
    surface->repaint();
}

int IntroView::FirstAnimationFrames() const { return firstAnimation->FrameCount(); }

void IntroView::FitSurface(const Layout& layout)
{
    if (!surface->isVisible())
        return;
    surface->setGeometry(0, 0, layout.ClientW, layout.ClientH);
    FillBlack(*surface, layout.ClientW, layout.ClientH);
}

void IntroView::UpdateSurface() { surface->update(); }

void IntroView::End()
{
    for (AnimationPlayer* a : {firstAnimation, leftAnimation, bottomAnimation}) {
        a->hide();
        a->Clear();
    }
    // The surface is as large as the window and is not shown again.
    surface->hide();
    surface->ReleaseCanvas();
}

bool IntroView::Step1(const Layout& layout, bool soundOn)
{
    surface->setGeometry(0, 0, layout.ClientW, layout.ClientH);
    FillBlack(*surface, layout.ClientW, layout.ClientH);
    surface->show();
    surface->repaint();
    bool ok = false;
    StartAnimation(firstAnimation, RoundInt((layout.ClientW - 346) / 2.0), RoundInt((layout.ClientH - 260) / 2.0),
                   QStringLiteral("GZastNew1"), &ok);
    OpenIntroSounds();
    if (soundOn)
        PlayIntroSound(1);
    return ok;
}

bool IntroView::Step2(const Layout& layout, bool soundOn)
{
    bool ok = false;
    StartAnimation(firstAnimation, RoundInt((layout.ClientW - 256) / 2.0), RoundInt((layout.ClientH - 256) / 2.0),
                   QStringLiteral("GZastNew2"), &ok);
    if (soundOn)
        PlayIntroSound(2);
    return ok;
}

void IntroView::Step3(const Layout& layout, const IntroTexts& texts, std::function<void()> done)
{
    const int pw = layout.ScaleSize(700);
    const int ph = layout.ScaleSize(320);
    QImage title(pw, ph, QImage::Format_RGB32);
    title.fill(Qt::black);
    {
        QPainter p(&title);
        p.setRenderHint(QPainter::TextAntialiasing);
        DrawResPicture(QStringLiteral("Caption"), p, layout.ScaleSize(150), layout.ScaleSize(10), layout.ScaleSize(400),
                       layout.ScaleSize(100), true);
        DrawResPicture(QStringLiteral("GTitle"), p, layout.ScaleSize(175), layout.ScaleSize(110), layout.ScaleSize(350),
                       layout.ScaleSize(90), true);
        DrawResPicture(QStringLiteral("Logo"), p, layout.ScaleSize(175), layout.ScaleSize(200), 50, 50, true);
        DrawResPicture(QStringLiteral("GIcon048"), p, pw - layout.ScaleSize(175) - 48, layout.ScaleSize(200), 48, 48,
                       true);

        struct Line {
            QString text;
            QColor colour;
            int height;
            int top;
        };
        const Line lines[] = {
            {QStringLiteral("Ломбирак"), QColor(255, 255, 0), 18, 205},
            {texts.releaseDate, QColor(255, 0, 0), 24, 230},
            {texts.credit, QColor(0, 255, 255), 24, 260},
            {texts.version, QColor(255, 255, 255), 24, 290},
        };
        for (const Line& line : lines) {
            QFont font(texts.fontFamily);
            font.setPixelSize(std::max(1, layout.ScaleSize(line.height)));
            p.setFont(font);
            p.setPen(line.colour);
            TextOutCentred(line.text, 0, pw, layout.ScaleSize(line.top), p);
        }
    }

    // The title grows symmetrically out of a small box at the centre; every
    // pixel step is shown at once.
    const int x0 = RoundInt(layout.ClientW / 2.0) - 3;
    const int x1 = RoundInt(layout.ClientW / 2.0 - pw / 2.0);
    const int y1 = RoundInt(layout.ClientH / 2.0 - ph / 2.0) - layout.ScaleSize(30);
    const double r = static_cast<double>(ph) / pw;
    // Every pixel step is shown at once, as many as fit in a few
    // milliseconds at a time: between them the window paints and takes
    // input.
    auto x = std::make_shared<int>(x0);
    auto* stepper = new QTimer(this);
    stepper->setInterval(0);
    connect(stepper, &QTimer::timeout, this, [=, this] {
        QElapsedTimer slice;
        slice.start();
        while (*x >= x1 && slice.elapsed() < kStepSliceMs) {
            {
                // A plain stretch: smoothing would only slow the reveal down.
                QPainter p(&surface->Canvas());
                p.fillRect(-1, -1, layout.ClientW + 2, layout.ClientH + 2, Qt::black);
                const int d = RoundInt((*x - x1) * r);
                p.drawImage(QRect(QPoint(*x, y1 + d), QPoint(pw + 2 * x1 - *x - 1, ph + y1 - d - 1)), title);
            }
            surface->repaint();
            --*x;
        }
        if (*x >= x1)
            return;
        stepper->stop();
        stepper->deleteLater();
        done();
    });
    stepper->start();
}

void IntroView::Step4(const Layout& layout)
{
    const int b = layout.ScaleSize(160) + RoundInt(layout.ClientH / 2.0) - layout.ScaleSize(40);
    StartAnimation(bottomAnimation, RoundInt((layout.ClientW - 273) / 2.0),
                   b + RoundInt((layout.ClientH - b - 80) / 2.0), QStringLiteral("GZastNew3"));
    StartAnimation(firstAnimation, layout.ScaleSize(80), layout.ScaleSize(320), QStringLiteral("GZastNew4"));
    StartAnimation(leftAnimation, layout.ClientW - layout.ScaleSize(80) - 120, layout.ScaleSize(320),
                   QStringLiteral("GZastNew4"));
}

} // namespace vk
