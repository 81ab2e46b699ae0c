#pragma once
// The account window's "Tevs" tab: the member's balance of the club's coins
// and the form of a transfer to another member.  The amount and receiver
// the player chooses are kept in the club state; the window reads the
// balance (`refreshClicked`) and makes the transfer (`transferClicked`).
#include "ui/club/account_tab_kit.h"

class QLabel;
class QLineEdit;
class QSpinBox;

namespace vk {

class AnimationPlayer;

class AccountTevsTab : public AccountTab {
    Q_OBJECT
public:
    AccountTevsTab(ClubStateData& club, int& clubState);

    // The amount the spin box shows.
    int ChosenAmount() const;
    // While a transfer is on its way its button stays off.
    void SetTransferRunning(bool running) { transferRunning_ = running; }
    // The tab comes into view: its coin turns.
    void StartCoin();

    void PaintTevsTab();

signals:
    void refreshClicked();  // ButtonRef4
    void transferClicked(); // ButtonTevsAddUs

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TTevQuizButton* refreshBalanceButton = nullptr; // ButtonRef4
    AnimationPlayer* coinAnimation = nullptr;       // RxGIFAnD
    QSpinBox* SpinTevsAddUs = nullptr;
    QLineEdit* EditTevsAddUs = nullptr;
    TTevQuizButton* ButtonTevsAddUs = nullptr;
    QLabel* transferWhy = nullptr; // why the transfer button is grey

    bool transferRunning_ = false;
};

} // namespace vk
