#pragma once
// TFormChat ("Tev Games Chat"): the ten newest messages of the players,
// each a two-line band with its number, the sender's flag and sex, a header
// line and the text, and a box for a new message.  The messages live on
// the world top ten's server as the rows of a board of their own; the
// window keeps none of them: every drawing reads the list anew.
#include <QImage>
#include <QPixmap>

#include "net/club_outcome.h"
#include "net/http_client.h"
#include "logic/club/wtt_replies.h"
#include "ui/kit/dialog_base.h"

class QLabel;
class QLineEdit;
class QTimer;

namespace vk {

class PictureBox;
class TTevQuizButton;

class TFormChat : public LocalDialog {
    Q_OBJECT
public:
    TFormChat(Settings& prefs, const QImage& background, HttpClient http, QWidget* parent = nullptr);

    // The messages as last drawn; nothing while they could not be read.
    const std::optional<WttRows>& Messages() const { return messages_; }
    bool Busy() const { return working_ > 0; }
    // Seconds until the next message may be sent; 0 when it may.
    int WaitLeft() const;

    // Draws the bands and reads the messages into them.
    void DrawMessages();
    void Send();
    void ButtonPassportClick();

signals:
    // A drawing of the list has its messages (or "No Connect").
    void messagesDrawn();
    // A send has come back, whatever its outcome.
    void sendFinished(bool sent);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void done(int result) override;

private:
    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* ImageTitle = nullptr;
    PictureBox* ImageMessages = nullptr;
    QLineEdit* EditMessage = nullptr;
    TTevQuizButton* ButtonSend = nullptr;
    TTevQuizButton* ButtonClose = nullptr;    // "Закрыть"
    TTevQuizButton* ButtonPassport = nullptr; // "Паспорт"
    QTimer* sendPause = nullptr;              // Timer1, re-enables the message box; 15 s
    QTimer* countdown = nullptr;              // the seconds of the wait on the send button
    QLabel* problemLine = nullptr;            // LabelProblem, why no message came
    TTevQuizButton* retryButton = nullptr;    // ButtonRetry, reads again after a lost connection

    struct Read {
        std::optional<WttRows> Rows;
        ClubOutcome Outcome = ClubOutcome::Done;
    };
    struct Submitted {
        std::optional<std::int32_t> Number;
        ClubOutcome Outcome = ClubOutcome::Done;
    };
    void DrawBands();
    void DrawMessageTexts();
    void EnableMessageBox();
    void ShowWait();
    // A send that failed: the text goes back in front of whatever the
    // player has typed since, and the player is told why.
    void SendFailed(const QString& text, ClubOutcome outcome);
    void Begin();
    void End();

    HttpClient http_;
    QPixmap sendGlyph_;
    std::optional<WttRows> messages_;
    bool waiting_ = false; // a message went: the next waits for Timer1
    int generation_ = 0;
    int working_ = 0;
};

} // namespace vk
