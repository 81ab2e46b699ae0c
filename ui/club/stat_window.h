#pragma once
// TFStat: the program's figures from the statistics server ("Статистика")
// and the like button.  Made anew at each opening; the figures are read in
// the background while the window is up.
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "common/messages.h"
#include "net/club_outcome.h"
#include "net/http_client.h"
#include "ui/kit/request_runner.h"
#include "logic/club/stat_reply.h"
#include "ui/kit/dialog_base.h"

class QLabel;

namespace vk {

class PictureBox;
class TTevQuizButton;
class WindowBusy;

class TFStat : public LocalDialog {
    Q_OBJECT
public:
    // `http` is the shared client; `programDir` holds the settings file that
    // the like is written to.
    TFStat(Settings& prefs, const QImage& background, HttpClient http, std::string programDir,
           QWidget* parent = nullptr);

    // Asks the player for a nick; nothing when the player cancels.  Tests
    // answer it themselves.
    std::function<std::optional<QString>(const QString& current)> AskNick;

    // The figures as last drawn; nothing while they are being read or when
    // they could not be read.
    const std::optional<TTevStat>& Figures() const { return figures_; }
    bool Reading() const { return read_.Running() || like_.Running(); }

    void ButtonLikeClick();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* ImageTitle = nullptr;
    PictureBox* ImageFigures = nullptr;
    PictureBox* ImageNote = nullptr;
    QLabel* LabelNote = nullptr;
    TTevQuizButton* ButtonLike = nullptr;
    TTevQuizButton* okButton = nullptr;    // Button1, "Ok"
    QLabel* problemLine = nullptr;         // LabelProblem, why nothing came
    TTevQuizButton* retryButton = nullptr; // ButtonRetry, reads again after a lost connection

    struct FiguresRead {
        std::optional<TTevStat> Figures;
        ClubOutcome Outcome = ClubOutcome::Done;
    };
    struct LikeSent {
        bool Sent = false;
        ClubOutcome Outcome = ClubOutcome::Done;
    };
    void TellProblem(ClubOutcome outcome, Msg refused);
    void ReadFigures();
    void DrawFigures(bool connected);

    HttpClient http_;
    std::string programDir_;
    WindowBusy* busy_ = nullptr;
    RequestHandle read_, like_;
    std::optional<TTevStat> figures_;
};

// Opens the window modally over `parent` and returns when it is closed.
void ShowStatistics(Settings& prefs, const QImage& background, const HttpClient& http, const std::string& programDir,
                    QWidget* parent);

} // namespace vk
