#pragma once
// TFormOptions ("Опции"): nine clickable rows on one owner-drawn page that
// switch sound, music, the own font and the start-up font window, and pick
// one of the five window sizes.
#include <QFont>
#include <QImage>
#include <array>
#include <functional>

#include "ui/kit/dialog_base.h"
#include "logic/localdata/window_size.h"

namespace vk {

class PictureBox;
class TTevQuizButton;

class TFormOptions : public LocalDialog {
    Q_OBJECT
public:
    TFormOptions(Settings& prefs, const QImage& background, QWidget* parent = nullptr);

    // What the main window does on a change: apply the new window size at
    // once, set the fonts again after the own-font row changed.
    std::function<void()> OnWindowSizeChanged;
    std::function<void()> OnFontsChanged;

    // The screen flags: sizes 3, 4 and 5 are refused while their flag is set.
    void SetScreenLimits(const ScreenLimits& limits) { limits_ = limits; }

    // Redraws the page from the current settings and shows it modally.
    int ShowModal();

    // The window's fonts in the display font (ApplyFonts calls it).
    void SetFonts(const std::string& displayFontName);

    // The whole page, then the label widths for the hit boxes.
    void DrawOptionsPage();
    // One row: Mode 0 toggle, 1 a size row losing its mark, 2 gaining it,
    // 4 an unselected size row (no picture), 5 the mark forced.
    void DrawOptionRow(bool state, int x, int y, int mode, const QImage& background, unsigned int textColour,
                       bool animate, bool restoreFirst, PictureBox& area, const QString& text);

    // The row (1..9) under a point of the page, or 0.
    int RowAt(QPoint point) const;
    // Whether a click on the row would do anything.
    bool RowActs(int row) const;
    // What a click on row 1..9 does.
    void ClickRow(int row);

    // The pause after each frame of a row's animation (tests set 0).
    void SetAnimationPause(int ms) { animationPauseMs_ = ms; }

    static constexpr int RowX = 65;
    static constexpr int FirstRowY = 147;
    static constexpr int RowStep = 34;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFont PageFont; // set by ApplyFonts (the window font)
    int animationPauseMs_ = 10;

    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* optionsPage = nullptr;  // Image1, the 400 x 500 page
    TTevQuizButton* okButton = nullptr; // Button1

    QImage PaintWorkPicture() const;
    void Animate(bool state, int x, int y, int mode, const QImage& work);

    QImage work_;
    std::array<int, 9> labelWidths_{};
    ScreenLimits limits_;
};

// Writes the settings file; tells the player when it cannot be written (the
// old file then stays as it was).
bool SaveSettings(QWidget* parent, const std::string& programDir, const Settings& settings);

} // namespace vk
