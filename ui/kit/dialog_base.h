#pragma once
// What the program's dialog windows share: a fixed client size, centring on
// the main window, Escape to close, the click sound, and the pieces of the
// shared window background under their picture areas.
#include <QDialog>
#include <QImage>
#include <functional>
#include <initializer_list>

#include "logic/localdata/settings.h"

class QLabel;
class QPainter;

namespace vk {

class PictureBox;
class TTevQuizButton;

// One picture of a dressed area: unscaled at (X, Y), or resized to
// Width x Height when a size is given.
struct PicturePlace {
    const char* Name;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

class LocalDialog : public QDialog {
    Q_OBJECT
public:
    // Background is the main window's background picture; it lives as long
    // as the main window and may be replaced by a size change.
    LocalDialog(Settings& prefs, const QImage& background, QSize clientSize, QWidget* parent);

    Settings& Prefs() const { return prefs_; }
    // The main window's background, for the windows this one opens.
    const QImage& Background() const { return background_; }

    // The click sound, when the sound is on.
    void ClickSound() const;

    // Plays a short effect from the resources; tests listen here.
    std::function<void(const QString& name)> PlayEffect;

protected:
    // Fills a picture area's canvas with the piece of background under it.
    void PaintAreaBackground(PictureBox& area) const;
    void PaintAreaBackground(QPainter& canvas, QPoint areaPos) const;
    // The piece of background under the area, then its pictures in order.
    void DressArea(PictureBox& area, std::initializer_list<PicturePlace> pictures) const;
    // The whole client area, for the paint handlers.
    void PaintWindowBackground(QPainter& canvas) const;
    // A dialog "Ok" button: click sound, then close.
    TTevQuizButton* MakeOkButton(const QRect& box);
    // Centred on the main window (or the screen without one).
    void CentreOnParent();

    void showEvent(QShowEvent* event) override;
    // The whole client area shows the window background.
    void paintEvent(QPaintEvent* event) override;

private:
    Settings& prefs_;
    const QImage& background_;
};

// Draws the PNG resource Name resized smoothly (ResizePngSmooth) to W x H
// with its top-left corner at (X, Y); false when it is missing or refused.
bool DrawSmoothPicture(const QString& name, QPainter& canvas, int x, int y, int width, int height);

// Text with its top at Y, starting at X, in the canvas's font and pen.
void TextOutAt(const QString& text, int x, int y, QPainter& canvas);

// Gives a label its box and keeps its text inside it: our display font runs
// wider than the one the boxes were made for, so the font is narrowed until
// the widest line fits the box's width.  A box too low for its lines grows
// downward only, so that the text never reaches into the one above it.
void FitLabelInBox(QLabel* label, const QRect& box);

// A picture area: a picture control at a fixed place in a dialog.
PictureBox* MakePictureArea(QWidget* parent, const char* name, const QRect& box);

} // namespace vk
