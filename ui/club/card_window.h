#pragma once
// TFAcc2: the member card editor ("Мой аккаунт"): the fourteen fields of
// the member's card and the photo of exactly 200 x 250 pixels.  Opened from
// the account window's "Обо мне" tab; what it saves goes straight into the
// club state.
#include <QLabel>
#include <QString>
#include <array>
#include <functional>
#include <string>

#include "ui/club/account_window.h"

class QLineEdit;

namespace vk {

class TFAcc2 : public LocalDialog {
    Q_OBJECT
public:
    // `cardKnown`: the member's card was read from the server; until one is,
    // the card cannot be saved (it would go back empty over the real one).
    TFAcc2(Settings& prefs, const QImage& background, const AccountContext& context, bool cardKnown,
           QWidget* parent = nullptr);

    // Asks for the picture a photo is cut from (any JPEG or PNG); empty
    // when the player gives up.  Tests answer here.
    std::function<QString()> ChoosePhotoFile;
    // Failures and warnings; good news (a save that worked).
    std::function<void(const QString& text)> Notice;
    std::function<void(const QString& text)> Inform;

    bool CardKnown() const { return cardKnown_; }
    bool Reading() const;
    // The picture file the photo waiting to be sent was cut from.
    const QString& ChosenPhoto() const { return chosen_; }

    void Image1Click();
    void ButtonOkIClick();
    void ButtonOKFClick();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
    PictureBox* headerArea = nullptr; // Image0
    PictureBox* photoArea = nullptr;  // Image1, the photo in its frame
    std::array<PictureBox*, 14> Icons{};
    std::array<QLineEdit*, 14> Edits{}; // in the order of CardField
    QLabel* noteLabel = nullptr;        // Label1
    TTevQuizButton* ButtonOkI = nullptr;
    TTevQuizButton* ButtonOKF = nullptr;
    TTevQuizButton* ButtonCancel = nullptr;

    ClubStateData& Club() const { return *context_.Club; }
    void FillEdits();
    void DrawPhoto(const QImage& photo);
    void ReadCard();
    void Tell(const QString& text);

    AccountContext context_;
    WindowBusy* busy_ = nullptr;
    RequestHandle read_, save_, upload_;
    bool cardKnown_ = false;
    bool opened_ = false;
    QString chosen_;
    std::string photo_; // the JPEG to send
};

} // namespace vk
