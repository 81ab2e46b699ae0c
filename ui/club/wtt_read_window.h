#pragma once
// TFormServerRead ("World Top Ten"): the three boards of the world top ten
// (this game, its mobile edition, the club accounts) with their tabs, the
// player's own rows and the board's game count.  Made anew at each opening;
// the board is read in the background, the three reads one after another,
// and the first that cannot reach the server ends them.
#include <QImage>
#include <optional>

#include "logic/club/club_state.h"
#include "net/club_outcome.h"
#include "net/http_client.h"
#include "logic/club/wtt_replies.h"
#include "ui/kit/dialog_base.h"

class QLabel;
class QTimer;

namespace vk {

class PictureBox;
class TTevQuizButton;
class WindowBusy;

class TFormServerRead : public LocalDialog {
    Q_OBJECT
public:
    // `club` holds the board shown (kept for the next opening) and the
    // account whose own rows the third board shows.
    TFormServerRead(Settings& prefs, const QImage& background, HttpClient http, ClubStateData& club,
                    QWidget* parent = nullptr);

    // 1 this game, 2 the mobile edition, 3 the club accounts.
    int Board() const { return club_.WorldTopTenTable; }
    // The board's place in the board area (tests click there).
    static QRect TabRect(int board);
    bool Reading() const { return reading_; }

    // What the last painting read: nothing while it could not be read.
    const std::optional<WttRows>& BoardRows() const { return boardRows_; }
    const std::optional<WttRows>& OwnRows() const { return ownRows_; }
    const std::optional<std::int32_t>& GameCount() const { return gameCount_; }

    // Repaints the board area and reads the board anew.
    void PaintBoard();
    void SelectBoard(int board);
    void ButtonRefreshClick();
    void ButtonPassportClick();

signals:
    // The reads of a painting have all come back, or stopped at the first
    // that could not reach the server.
    void boardPainted();

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* ImageTitle = nullptr;
    PictureBox* ImageBoard = nullptr;
    TTevQuizButton* ButtonPassport = nullptr;
    TTevQuizButton* okButton = nullptr; // Button1, "Ok"
    TTevQuizButton* ButtonRefresh = nullptr;
    QTimer* refreshPause = nullptr; // Timer1, shows the refresh button again; 10 s
    QLabel* problemLine = nullptr;  // LabelProblem, why a list is empty

    struct RowsRead {
        bool Ok = false;
        bool Answered = false;
        ClubOutcome Outcome = ClubOutcome::Done;
        WttRows Rows;
    };
    struct CountRead {
        std::optional<std::int32_t> Count;
        bool Answered = false;
    };
    // Says why the list whose picture starts at `top` is empty; an
    // unreachable club gets the refresh button at once.
    void TellProblem(ClubOutcome outcome, int top);
    void ReadCount(int generation);
    void ReadOwn(int generation);
    void DrawBoardRows();
    void DrawGameCount();
    void DrawOwnRows(const std::string& nick, const std::string& city);
    void FinishPainting();
    int TabAt(QPoint pos) const;

    HttpClient http_;
    ClubStateData& club_;
    WindowBusy* busy_ = nullptr;
    QImage scroll_;
    int generation_ = 0;
    bool reading_ = false;
    std::optional<WttRows> boardRows_, ownRows_;
    std::optional<std::int32_t> gameCount_;
};

// The game id of a board: 1 this game, 2 the mobile edition, 3 the club.
int WttBoardGameId(int board);

// Opens the viewer modally over `parent`.
void ShowWorldTopTen(Settings& prefs, const QImage& background, const HttpClient& http, ClubStateData& club,
                     QWidget* parent);

} // namespace vk
