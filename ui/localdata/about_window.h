#pragma once
// TFormAbout ("О Программе"): version, release date, the maker's credits,
// thanks to the authors of the media, and the maker's site and mail address.
// Made anew at each opening.
#include <functional>

#include "ui/kit/dialog_base.h"

class QLabel;

namespace vk {

class AnimationPlayer;
class PictureBox;
class TTevQuizButton;

class TFormAbout : public LocalDialog {
    Q_OBJECT
public:
    TFormAbout(Settings& prefs, const QImage& background, QWidget* parent = nullptr);

    // Creates the window, shows it modally and deletes it.  Gives the page
    // of the built-in help the player asked for on closing it ("credits.html"
    // from the thanks, "index.html" from the site line of a build without a
    // site), or an empty text.
    static QString ShowModal(Settings& prefs, const QImage& background, QWidget* parent);

    // The site and mail lines, from the build's addresses.  An empty site
    // turns the site line into a way to the built-in help; an empty mail
    // address hides the mail line, its title and its envelope.
    void SetContacts(const QString& site, const QString& mail);

    void SiteClick();
    void MailClick();
    // The thanks lead to the help's page of credits: the window closes and
    // says so to the one who opened it.
    void ThanksClick();
    const QString& HelpPageAsked() const { return helpPageAsked_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    QString helpPageAsked_;

    // The controls.  Each keeps the window's own name for it as its object
    // name, so tests and screen readers find it by that name.
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
    AnimationPlayer* siteAnimation = nullptr; // RxGIFAn1, 130 x 28
    AnimationPlayer* mailAnimation = nullptr; // RxGIFAn2, 35 x 35
    TTevQuizButton* okButton = nullptr;       // Button1

    QString site_;
    QString mail_;
};

} // namespace vk
