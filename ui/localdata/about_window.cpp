#include "ui/localdata/about_window.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QMessageBox>
#include <QPainter>
#include <vector>

#include "ui/kit/link_opener.h"
#include "common/about_contacts.h"
#include "common/messages.h"
#include "common/product.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

const QColor kAqua(0, 255, 255);
const QColor kYellow(255, 255, 0);
// What the window's layout gives each label; fitting a text may narrow the
// font and grow the label, and a later fitting starts from these again.
constexpr const char* kBoxProperty = "box";
constexpr const char* kFontProperty = "designFont";

struct PictureStep {
    const char* name;
    int x, y, w, h; // w = 0: natural size
};

} // namespace

TFormAbout::TFormAbout(Settings& prefs, const QImage& background, QWidget* parent)
    // Five pixels below "Ok", as the other windows have them: the "Ok" at
    // 685 would otherwise sit on the window's bottom edge.
    : LocalDialog(prefs, background, QSize(525, 720), parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    ImageTitle = MakePictureArea(this, "ImageTitle", QRect(0, 0, 525, 125));
    ImageVersion = MakePictureArea(this, "ImageVersion", QRect(5, 135, 200, 110));
    ImagePortret = MakePictureArea(this, "ImagePortret", QRect(20, 280, 170, 234));
    ImageLogo = MakePictureArea(this, "ImageLogo", QRect(43, 550, 124, 124));
    ImageCredits = MakePictureArea(this, "ImageCredits", QRect(210, 130, 310, 350));
    ImageContact = MakePictureArea(this, "ImageContact", QRect(210, 490, 310, 190));

    const std::string& font = prefs.DisplayFontName;
    auto label = [this, &font](const char* name, const QRect& box, const QColor* colour, int height) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(box);
        l->setProperty(kBoxProperty, box);
        l->setAlignment(Qt::AlignCenter);
        l->setFont(MakeFont(font, height, false));
        l->setProperty(kFontProperty, l->font());
        if (colour) {
            QPalette pal = l->palette();
            pal.setColor(QPalette::WindowText, *colour);
            l->setPalette(pal);
        }
        return l;
    };
    LabelVersion = label("LabelVersion", QRect(20, 155, 170, 25), &kAqua, 20);
    LabelDate = label("LabelDate", QRect(20, 180, 170, 25), nullptr, 20);
    LabelPlace = label("LabelPlace", QRect(20, 205, 170, 21), &kYellow, 20);
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "LabelCredit" + QByteArray::number(i + 1);
        CreditLabels[i] =
            label(name.constData(), QRect(240, 170 + 31 * i, 255, 25), i % 2 == 0 ? &kYellow : &kAqua, 20);
    }
    LabelThanksTitle = label("LabelThanksTitle", QRect(240, 355, 255, 20), &kYellow, 18);
    LabelThanks = label("LabelThanks", QRect(240, 375, 255, 80), &kAqua, 18);
    LabelSiteTitle = label("LabelSiteTitle", QRect(240, 575, 246, 15), &kYellow, 16);
    LabelSite = label("LabelSite", QRect(240, 590, 246, 15), &kAqua, 16);
    LabelMailTitle = label("LabelMailTitle", QRect(315, 615, 111, 13), &kYellow, 16);
    LabelMail = label("LabelMail", QRect(315, 630, 111, 15), &kAqua, 16);
    for (QLabel* link : {LabelSite, LabelMail}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    siteAnimation = new AnimationPlayer(this);
    siteAnimation->setObjectName(QStringLiteral("RxGIFAn1"));
    siteAnimation->setGeometry(300, 540, 130, 28);
    mailAnimation = new AnimationPlayer(this);
    mailAnimation->setObjectName(QStringLiteral("RxGIFAn2"));
    mailAnimation->setGeometry(270, 610, 35, 35);

    okButton = MakeOkButton(QRect(10, 685, 505, 30));
    okButton->setFont(MakeFont(font, ButtonHeight, false));

    // Dress the areas.
    const std::pair<PictureBox*, std::vector<PictureStep>> dressing[] = {
        {ImageTitle,
         {{"G_PanR", 70, 5, 80, 80},
          {"GIcon048", 85, 25, 0, 0},
          {"G_Panel7", 220, 5, 290, 80},
          {"Caption", 245, 17, 240, 60},
          {"G_Zav2", 10, 95, 505, 30}}},
        {ImageVersion, {{"G_Panel6", 0, 0, 0, 0}}},
        {ImagePortret, {{"Portret", 0, 0, 0, 0}}},
        {ImageLogo, {{"G_PanR", 0, 0, 0, 0}, {"Logo", 30, 30, 0, 0}}},
        {ImageCredits, {{"G_Panel8", 0, 0, 0, 0}}},
        {ImageContact, {{"G_Panel9", 0, 0, 0, 0}}},
    };
    for (const auto& [area, steps] : dressing) {
        PaintAreaBackground(*area);
        QPainter p(&area->Canvas());
        for (const PictureStep& s : steps)
            DrawResPicture(QString::fromLatin1(s.name), p, s.x, s.y, s.w, s.h, s.w > 0);
    }

    setWindowTitle(UiText(Msg::About));
    // The title is the game's name drawn as a picture.
    ImageTitle->setAccessibleName(UiProductName());
    LabelVersion->setText(QString::fromLatin1(VersionText));
    LabelDate->setText(UiText(Msg::ReleaseDate));
    LabelPlace->setText(UiText(Msg::MakerTown));
    const Msg credits[6] = {Msg::CreditIdeaTitle, Msg::CreditIdea,       Msg::CreditArtTitle,
                            Msg::CreditArt,       Msg::CreditSoundTitle, Msg::CreditSound};
    for (int i = 0; i < 6; ++i)
        CreditLabels[i]->setText(UiText(credits[i]));
    LabelThanksTitle->setText(UiText(Msg::ThanksTitle));
    LabelThanks->setText(UiText(Msg::Thanks1) + QLatin1Char('\n') + UiText(Msg::Thanks2) + QLatin1Char('\n')
                         + UiText(Msg::Thanks3) + QLatin1Char('\n') + UiText(Msg::Thanks4));
    for (QLabel* l : {LabelThanksTitle, LabelThanks}) {
        l->setToolTip(UiText(Msg::MoreInHelp));
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }
    LabelSiteTitle->setText(UiText(Msg::OfficialSite));
    LabelMailTitle->setText(UiText(Msg::Email));

    LoadGifRes(QStringLiteral("GAboutSite"), *siteAnimation);
    LoadGifRes(QStringLiteral("GAboutMail"), *mailAnimation);
    SetContacts(QString::fromLatin1(AboutSite), QString::fromLatin1(AboutMail));
}

void TFormAbout::SetContacts(const QString& site, const QString& mail)
{
    site_ = site;
    mail_ = mail;
    // Without a site of the build the line leads to the built-in help; the
    // title and the globe that announce a web site go.
    LabelSite->setText(site.isEmpty() ? UiText(Msg::Help) : site);
    LabelSiteTitle->setVisible(!site.isEmpty());
    siteAnimation->setVisible(!site.isEmpty());
    LabelMail->setText(mail);
    for (QWidget* w : {static_cast<QWidget*>(LabelMail), static_cast<QWidget*>(LabelMailTitle),
                       static_cast<QWidget*>(mailAnimation)})
        w->setVisible(!mail.isEmpty());
    for (QLabel* l : findChildren<QLabel*>()) {
        l->setFont(l->property(kFontProperty).value<QFont>());
        FitLabelInBox(l, l->property(kBoxProperty).toRect());
    }
}

QString TFormAbout::ShowModal(Settings& prefs, const QImage& background, QWidget* parent)
{
    TFormAbout about(prefs, background, parent);
    about.exec();
    return about.HelpPageAsked();
}

void TFormAbout::ThanksClick()
{
    helpPageAsked_ = QStringLiteral("credits.html");
    accept();
}

void TFormAbout::SiteClick()
{
    if (site_.isEmpty()) {
        helpPageAsked_ = QStringLiteral("index.html");
        accept();
        return;
    }
    OpenOutsideLink(this, site_);
}

void TFormAbout::MailClick()
{
    if (mail_.isEmpty())
        return;
    if (OpenMailAddress(this, mail_) == LinkOutcome::Failed) {
        QMessageBox box(QMessageBox::NoIcon, windowTitle(), QStringLiteral("Auto method failed."), QMessageBox::Ok,
                        this);
        box.exec();
    }
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == LabelSite) {
            SiteClick();
            return true;
        }
        if (watched == LabelMail) {
            MailClick();
            return true;
        }
        if (watched == LabelThanks || watched == LabelThanksTitle) {
            ThanksClick();
            return true;
        }
    }
    return LocalDialog::eventFilter(watched, event);
}

void TFormAbout::done(int result)
{
    siteAnimation->Clear();
    mailAnimation->Clear();
    LocalDialog::done(result);
}

} // namespace vk
