#pragma once
// TFormServerWrite ("World Top Ten"): a finished game of 900 points or more
// that was not played for the club rating may be sent to the world top ten
// under the player's passport.  The result lives only while the window is
// open: a send that fails keeps it for another try, a send that succeeds
// shows the place and cannot be repeated.
#include <QImage>
#include <cstdint>

#include "net/http_client.h"
#include "ui/kit/request_runner.h"
#include "ui/kit/dialog_base.h"

namespace vk {

class PictureBox;
class TTevQuizButton;
class WindowBusy;

class TFormServerWrite : public LocalDialog {
    Q_OBJECT
public:
    TFormServerWrite(Settings& prefs, const QImage& background, HttpClient http, std::int32_t score,
                     QWidget* parent = nullptr);

    std::int32_t Score() const { return WttScore; }
    std::int32_t Place() const { return WttPlace; } // -1 until a send succeeds
    bool Sending() const { return send_.Running(); }

    void ButtonSendClick();
    void ButtonPassportClick();

signals:
    // A send has come back, whatever its outcome.
    void sendFinished(bool sent);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public slots:
    void done(int result) override;

private:
    std::int32_t WttScore = 0;
    std::int32_t WttPlace = -1;
    bool WttResultSent = false;

    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* ImageTitle = nullptr;
    PictureBox* ImageScroll = nullptr;
    PictureBox* ImageLeft = nullptr;
    PictureBox* ImageRight = nullptr;
    TTevQuizButton* ButtonSend = nullptr;     // "Отправить"
    TTevQuizButton* ButtonPassport = nullptr; // "Личные данные"
    TTevQuizButton* ButtonClose = nullptr;    // "Закрыть"

    void PaintScroll();
    void EnableSend();

    HttpClient http_;
    WindowBusy* busy_ = nullptr;
    RequestHandle send_;
    QImage scroll_;
    bool firstShow_ = true;
};

} // namespace vk
