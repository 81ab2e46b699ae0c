#include "ui/localdata/options_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QThread>

#include <algorithm>

#include "common/messages.h"
#include "common/rounding.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/audio.h"
#include "ui/kit/colour.h"
#include "ui/kit/dressing.h"
#include "ui/kit/message_box.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

constexpr int kCell = 28;
// Where the row texts must end: inside the panel's frame (the panel lies
// at x 20 and is 360 wide).
constexpr int kTextRight = 364;
constexpr unsigned int kYellow = 0x00FFFF; // 0x00BBGGRR
constexpr Msg kLabels[9] = {Msg::OptSound,       Msg::OptMusic,    Msg::OptOwnFont,  Msg::OptAskAtStart, Msg::SizeSmall,
                            Msg::SizeFullScreen, Msg::SizeMedium1, Msg::SizeMedium2, Msg::SizeLarge};

int RowTop(int row) { return TFormOptions::FirstRowY + TFormOptions::RowStep * (row - 1); }

void RestoreCell(QPainter& p, const QImage& work, int x, int y)
{
    p.drawImage(QPoint(x, y), work, QRect(x, y, kCell, kCell));
}

} // namespace

TFormOptions::TFormOptions(Settings& prefs, const QImage& background, QWidget* parent)
    : LocalDialog(prefs, background, QSize(400, 550), parent)
{
    setObjectName(QStringLiteral("FormOptions"));
    setWindowTitle(UiText(Msg::Options));
    optionsPage = MakePictureArea(this, "Image1", QRect(0, 0, 400, 500));
    optionsPage->setMouseTracking(true);
    optionsPage->installEventFilter(this);
    okButton = MakeOkButton(QRect(100, 510, 200, 30));
    SetFonts(prefs.DisplayFontName);
}

void TFormOptions::SetFonts(const std::string& displayFontName)
{
    PageFont = MakeFont(displayFontName, LabelHeight, false);
    setFont(PageFont);
    okButton->setFont(MakeFont(displayFontName, ButtonHeight, false));
}

int TFormOptions::ShowModal()
{
    setWindowTitle(UiText(Msg::Options));
    DrawOptionsPage();
    return exec();
}

QImage TFormOptions::PaintWorkPicture() const
{
    QImage work(400, 500, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&work);
    PaintAreaBackground(p, optionsPage->pos());
    DrawResPicture(QStringLiteral("G_Options"), p, 0, 0, 0, 0, false);
    DrawResPicture(QStringLiteral("G_Zav1"), p, 50, 64, 0, 0, false);
    DrawResPicture(QStringLiteral("G_Panel3"), p, 20, 100, 0, 0, false);
    DrawResPicture(QStringLiteral("GPOpt"), p, 10, 6, 0, 0, false);
    DrawResPicture(QStringLiteral("GPOpt"), p, 342, 6, 0, 0, false);
    return work;
}

void TFormOptions::DrawOptionsPage()
{
    work_ = PaintWorkPicture();
    optionsPage->ResizeCanvas(400, 500);
    {
        QPainter p(&optionsPage->Canvas());
        p.drawImage(0, 0, work_);
    }
    const Settings& s = Prefs();
    const bool states[9] = {s.SoundOn,         s.MusicOn,         !s.NoOwnFont,
                            !s.NoFontWindow,   s.WindowSize == 1, s.WindowSize == 2,
                            s.WindowSize == 3, s.WindowSize == 4, s.WindowSize == 5};
    QFont font = MakeFont(s.DisplayFontName, 24, false);
    const QFontMetrics metrics(font);
    for (int row = 1; row <= 9; ++row) {
        const bool state = states[row - 1];
        // Size rows show only the current size's mark.
        const int mode = row <= 4 ? 3 : (state ? 5 : 4);
        DrawOptionRow(state, RowX, RowTop(row), mode, work_, kYellow, false, false, *optionsPage,
                      UiText(kLabels[row - 1]));
        labelWidths_[static_cast<std::size_t>(row - 1)] =
            std::min(metrics.horizontalAdvance(UiText(kLabels[row - 1])), kTextRight - (RowX + 40));
    }
    optionsPage->update();
}

void TFormOptions::DrawOptionRow(bool state, int x, int y, int mode, const QImage& background, unsigned int textColour,
                                 bool animate, bool restoreFirst, PictureBox& area, const QString& text)
{
    if (animate) {
        Animate(state, x, y, mode, background);
        return;
    }
    QPainter p(&area.Canvas());
    if (restoreFirst)
        RestoreCell(p, background, x, y);
    const QString picture = (state || mode == 5) ? QStringLiteral("G_Yes") : QStringLiteral("G_No");
    if (mode != 4)
        DrawResPicture(picture, p, x, y, 0, 0, false);
    p.setFont(MakeFont(Prefs().DisplayFontName, 24, false));
    p.setPen(ToQColor(textColour));
    p.setBackgroundMode(Qt::TransparentMode);
    const int textTop = y + RoundInt((kCell - p.fontMetrics().height()) / 2.0) + 1;
    NarrowFontToFit(text, kTextRight - (x + 40), p);
    TextOutAt(text, x + 40, textTop, p);
}

void TFormOptions::Animate(bool state, int x, int y, int mode, const QImage& work)
{
    auto frame = [&](const QString& picture, int s) {
        {
            QPainter p(&optionsPage->Canvas());
            RestoreCell(p, work, x, y);
            if (s == 0)
                DrawResPicture(picture, p, x, y, 0, 0, false);
            else
                DrawResPicture(picture, p, x + s, y + s, kCell - 2 * s, kCell - 2 * s, true);
        }
        optionsPage->repaint();
        if (animationPauseMs_ > 0)
            QThread::msleep(static_cast<unsigned long>(animationPauseMs_));
    };
    const QString shrinking = state ? QStringLiteral("G_Yes") : QStringLiteral("G_No");
    const QString growing = state ? QStringLiteral("G_No") : QStringLiteral("G_Yes");
    if (mode == 0 || mode == 1)
        for (int s = 0; s <= 10; ++s)
            frame(shrinking, s);
    if (mode == 1) {
        QPainter p(&optionsPage->Canvas());
        RestoreCell(p, work, x, y);
        p.end();
        optionsPage->repaint();
    }
    if (mode == 0 || mode == 2)
        for (int s = 10; s >= 0; --s)
            frame(growing, s);
}

int TFormOptions::RowAt(QPoint point) const
{
    for (int row = 1; row <= 9; ++row) {
        const int top = RowTop(row);
        if (point.x() >= RowX && point.x() <= 105 + labelWidths_[static_cast<std::size_t>(row - 1)] && point.y() >= top
            && point.y() <= top + kCell)
            return row;
    }
    return 0;
}

bool TFormOptions::RowActs(int row) const
{
    if (row >= 1 && row <= 4)
        return true;
    if (row < 5 || row > 9)
        return false;
    const int size = row - 4;
    if (size == Prefs().WindowSize)
        return false;
    return !limits_.Refuses(size);
}

void TFormOptions::ClickRow(int row)
{
    if (!RowActs(row))
        return;
    Settings& s = Prefs();
    work_ = PaintWorkPicture();
    const int top = RowTop(row);
    switch (row) {
    case 1:
        Animate(s.SoundOn, RowX, top, 0, work_);
        s.SoundOn = !s.SoundOn;
        ClickSound();
        break;
    case 2:
        Animate(s.MusicOn, RowX, top, 0, work_);
        s.MusicOn = !s.MusicOn;
        ClickSound();
        PlayMusic(s.MusicOn);
        break;
    case 3:
        Animate(!s.NoOwnFont, RowX, top, 0, work_);
        s.NoOwnFont = !s.NoOwnFont;
        ClickSound();
        UpdateFontNames(s);
        SetFonts(s.DisplayFontName);
        if (OnFontsChanged)
            OnFontsChanged();
        DrawOptionsPage();
        break;
    case 4:
        Animate(!s.NoFontWindow, RowX, top, 0, work_);
        s.NoFontWindow = !s.NoFontWindow;
        ClickSound();
        break;
    default: {
        const int oldSize = s.WindowSize;
        Animate(true, RowX, 249 + RowStep * oldSize, 1, work_);
        s.WindowSize = row - 4;
        Animate(false, RowX, top, 2, work_);
        if (OnWindowSizeChanged)
            OnWindowSizeChanged();
        ClickSound();
        break;
    }
    }
}

bool TFormOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == optionsPage) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            optionsPage->setCursor(RowActs(RowAt(at)) ? Qt::PointingHandCursor : Qt::ArrowCursor);
        } else if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                ClickRow(RowAt(mouse->position().toPoint()));
                // The row may have changed what a click there would do.
                optionsPage->setCursor(RowActs(RowAt(mouse->position().toPoint())) ? Qt::PointingHandCursor
                                                                                   : Qt::ArrowCursor);
                return true;
            }
        }
    }
    return LocalDialog::eventFilter(watched, event);
}

bool SaveSettings(QWidget* parent, const std::string& programDir, const Settings& settings)
{
    if (WriteSettings(programDir, settings))
        return true;
    ShowError(parent, UiText(Msg::CantSaveOptions));
    return false;
}

} // namespace vk
