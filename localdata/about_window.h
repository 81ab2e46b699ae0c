#pragma once
// TFormAbout ("О Программе"): version, release date, the maker's credits,
// thanks to the authors of the media, and the maker's site and mail address.
// Made anew at each opening.
#include <functional>

#include "localdata/dialog_base.h"

class QLabel;

namespace vk {

class AnimationPlayer;
class PictureBox;
class TTevQuizButton;

class TFormAbout : public LocalDialog {
    Q_OBJECT
public:
    TFormAbout(Settings& prefs, const QImage& background, QWidget* parent = nullptr);

    // Creates the window, shows it modally and deletes it.  True when the
    // player closed it by clicking the thanks, to read them in the help.
    static bool ShowModal(Settings& prefs, const QImage& background, QWidget* parent);

    // Opens an address with the desktop's default handler; tests replace it.
    // False when no handler could be started.
    std::function<bool(const QString& address)> OpenAddress;

    void SiteClick();
    void MailClick();
    // The thanks lead to the help's page of credits: the window closes and
    // says so to the one who opened it.
    void ThanksClick();
    bool ThanksAsked = false;

    PictureBox* ImageTitle = nullptr;
    PictureBox* ImageVersion = nullptr;
    PictureBox* ImagePortret = nullptr;
    PictureBox* ImageLogo = nullptr;
    PictureBox* ImageCredits = nullptr;
    PictureBox* ImageContact = nullptr;
    QLabel* LabelVersion = nullptr;
    QLabel* LabelDate = nullptr;
    QLabel* LabelPlace = nullptr;
    QLabel* CreditLabels[6] = {};
    QLabel* LabelThanksTitle = nullptr;
    QLabel* LabelThanks = nullptr;
    QLabel* LabelSiteTitle = nullptr;
    QLabel* LabelSite = nullptr;
    QLabel* LabelMailTitle = nullptr;
    QLabel* LabelMail = nullptr;
    AnimationPlayer* RxGIFAn1 = nullptr; // 130 x 28
    AnimationPlayer* RxGIFAn2 = nullptr; // 35 x 35
    TTevQuizButton* Button1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;
};

} // namespace vk
