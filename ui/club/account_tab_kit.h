#pragma once
// What the account window's tabs share: the tab page with its picture
// canvas, the club state the tabs show, their colours and font, and the
// drawing of their backgrounds, bands and cells.
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

class QEvent;
class QImage;
class QPainter;

namespace vk {

struct ClubStateData;
class PictureBox;
class TTevQuizButton;

// Colours as the club's pictures give them (0x00BBGGRR).
inline constexpr unsigned int kTabYellow = 0x0000FFFF;
inline constexpr unsigned int kTabRed = 0x000000FF;
inline constexpr unsigned int kTabLightRed = 0x006464FF;    // (255, 100, 100)
inline constexpr unsigned int kTabLightYellow = 0x0064FFFF; // (255, 255, 100)
inline constexpr unsigned int kTabLightGreen = 0x0064FF64;  // (100, 255, 100)
inline constexpr unsigned int kTabTop = 0x00FF6464;         // (100, 100, 255)
inline constexpr unsigned int kTabBottom = 0x00FFFF64;      // (100, 255, 255)

// The account window's bold "Comic Sans MS" of Height pixels.
QFont TabFont(int height);

// Rows of the gradient from Top to Bottom colour over Box, drawn only where
// they cross Clip: the tabs' backgrounds and their bands.
void DrawGradient(QPainter& canvas, const QRect& box, unsigned int topColour, unsigned int bottomColour,
                  const QRect& clip = {});

// The tab's title in yellow across its top.
void DrawTabTitle(QPainter& canvas, const QString& title);

// A table band from its colour down to white, rows y1 .. y2 - 1.
void DrawBand(QPainter& canvas, int x1, int x2, int y1, int y2, unsigned int colour);

// A cell outline from (x1, y1) to, not including, (x2, y2).
void DrawCellOutline(QPainter& canvas, int x1, int y1, int x2, int y2);

// The "Windows" and "Android" pictures in their red frames at the foot of
// the account, results and top 10 tabs.
void DrawPlatformPictures(QPainter& canvas);

// The 24 x 24 lamp of a field class, or of a club state: 1 red, 2 yellow,
// 3 green.
const char* LampPicture(int cls);

// A red button of a tab with its yellow text, grey while disabled.
TTevQuizButton* MakeTabButton(QWidget* page, const char* name, const QRect& box);

// The round "refresh" button of a tab that reads its data again.
TTevQuizButton* MakeRefreshButton(QWidget* page, const char* name, QPoint at);

// A key press typing one character of the club's code page that Accepts
// refuses, or a character outside the code page: the edit must not get it.
bool RefusedKey(const QEvent& event, const std::function<bool(unsigned char)>& accepts);

inline QString Decimal(std::int64_t n) { return QString::number(n); }

// One tab of the account window: a page named TabSheet<N> whose whole face
// is the picture canvas ImageN<N>, drawn anew whenever the tab is shown or
// what it shows changes.  Every tab shows the program's club state, which
// the window's requests and the tabs' controls change in place.
class AccountTab : public QWidget {
    Q_OBJECT
public:
    AccountTab(int number, ClubStateData& club, int& clubState);

signals:
    // A control of the tab took the player's click: the window sounds it.
    void clickSound();

protected:
    PictureBox& CanvasArea() const { return *canvas_; }
    QImage& Canvas() const;
    ClubStateData& Club() const { return club_; }
    // 1 logged out, 2 logged in, 3 playing for the rating.
    int& State() const { return state_; }
    // Starts the tab's picture with its background, top to bottom.
    void StartPicture(QPainter& canvas) const;

private:
    PictureBox* canvas_ = nullptr; // ImageN<N>
    ClubStateData& club_;
    int& state_;
};

} // namespace vk
