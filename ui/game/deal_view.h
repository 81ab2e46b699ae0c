#pragma once
// The deal screen of the main window: the theme, the board, the base star,
// the score and deal frames, the 32 letter keys and the two buttons of a
// solved deal.  It draws what the game's state says and reports the
// player's clicks; the rules and the steps between deals stay with the
// window.
#include <QObject>
#include <QPixmap>
#include <array>
#include <cstdint>

#include "common/layout.h"
#include "logic/game/board.h"
#include "logic/game/board_layout.h"
#include "logic/game/puzzle_base.h"

class QImage;
class QLabel;
class QWidget;

namespace vk {

class PictureBox;
class TTevQuizButton;
struct Settings;

class DealView : public QObject {
    Q_OBJECT
public:
    // The controls are children of `window`; the settings, the window's
    // layout and its background are read at each drawing.
    DealView(QWidget* window, const Settings& prefs, const Layout& lay, const QImage& background);

    // Places every control for the window's size, at the start of a game.
    void Place();
    // The board of a new deal: the frame, its cells (those no key opens
    // shown open), the base star and the theme.  Both buttons wait for the
    // deal to be solved.
    void ShowDeal(const DealBoard& deal, const PuzzleState& puzzle);
    void ShowScore(std::int32_t score, int dealNumber);
    // Every key enabled, dressed with its letter for the window's size.
    void DressLetterKeys();

    // Key k (1..32) is still to be picked.
    bool KeyEnabled(int k) const;
    // Key k is used up: it takes no second click.
    void UseKey(int k);
    // The cells open with the letter, each in its steps.
    void OpenCells(const std::vector<CellPosition>& cells, int letterCode);
    // One step (1..10) of a cell's opening, shown at once.
    void DrawOpeningStep(const CellGrid& grid, const CellPosition& cell, int letterCode, int step);
    // The deal is solved: the keys go off, "Выход" and (if a next deal is
    // offered) "Дальше" come on.
    void ShowSolved(bool nextOffered);
    // The mark of a game played for the club rating, in the window's top
    // left corner; hidden in any other game.
    void ShowRatingMark(bool ratingGame);
    // Tells a screen reader what a guess did: the board's new text, and a
    // sentence on the opened letter, the point lost or the solved deal.
    void AnnounceGuess(const DealBoard& deal, const GuessOutcome& outcome, int letterCode, std::int32_t score);
    void Hide();
    // The window closes: the letter keys are let go at once.
    void ReleaseLetterKeys();
    // Space and Enter may press only the two buttons of a solved deal.
    bool IsDealButton(const QWidget* widget) const;

    // For the fonts of the window's buttons.
    TTevQuizButton* ExitButton() const { return exitButton; }
    TTevQuizButton* NextButton() const { return nextButton; }

signals:
    void letterClicked(int k);
    void nextClicked();
    void exitClicked();

private:
    void DrawPicture(const QString& name, PictureBox* image, bool overBackground, int left = 0, int top = 0,
                     int right = 0, int bottom = 0);
    void DrawOpenCellText(const ControlRect& cell, char character);
    // The board's cells as a screen reader reads them.
    void DescribeBoard(const Board& cells);

    QWidget* window_;
    const Settings& prefs_;
    const Layout& lay_;
    const QImage& background_;
    GameScreenLayout layout_; // placed at the start of every game

    QLabel* themeLabel = nullptr;                 // LabelType
    QLabel* ratingMark = nullptr;                 // LabelRating, "Идет игра на рейтинг!"
    PictureBox* board = nullptr;                  // ImageRamka
    PictureBox* baseStar = nullptr;               // ImageBase
    PictureBox* scoreFrame = nullptr;             // ImGeld
    PictureBox* dealFrame = nullptr;              // ImTick
    TTevQuizButton* exitButton = nullptr;         // Button8, "Выход"
    TTevQuizButton* nextButton = nullptr;         // ButtonN, "Дальше"
    std::array<TTevQuizButton*, 32> letterKeys{}; // BLetters1 .. BLetters32
};

} // namespace vk
