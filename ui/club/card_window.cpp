#include "ui/club/card_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>

#include "logic/club/account_fields.h"
#include "net/account_requests.h"
#include "ui/club/attention_window.h"
#include "ui/club/club_window_parts.h"
#include "ui/club/photo_crop_window.h"
#include "common/atomic_file.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/cp1251_validator.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "ui/kit/window_busy.h"

namespace vk {
namespace {

constexpr unsigned int kYellow = 0x0000FFFF;
const int kRowY[7] = {105, 140, 175, 210, 245, 280, 315};

// The photo file, read only while it is small enough to be a club photo.
std::optional<std::string> ReadPhotoFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > static_cast<qint64>(PhotoFileCap))
        return std::nullopt;
    auto bytes = ReadWholeFile(path.toStdString());
    if (!bytes || !ClubPhotoAcceptable(*bytes))
        return std::nullopt;
    return bytes;
}

QImage DecodedPhoto(const std::string& bytes)
{
    QImage photo =
        QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "JPG");
    return photo.size() == QSize(PhotoWidth, PhotoHeight) ? photo : QImage();
}

} // namespace

TFAcc2::TFAcc2(Settings& prefs, const QImage& background, const AccountContext& context, bool cardKnown,
               QWidget* parent)
    : LocalDialog(prefs, background, QSize(745, 550), parent), context_(context), cardKnown_(cardKnown)
{
    setObjectName(QStringLiteral("FAcc2"));
    setWindowTitle(UiText(Msg::TabMyAccount));
    busy_ = new WindowBusy(this);
    headerArea = MakePictureArea(this, "Image0", QRect(0, 0, 745, 100));
    photoArea = MakePictureArea(this, "Image1", QRect(500, 105, 240, 290));
    photoArea->setCursor(Qt::PointingHandCursor);
    connect(photoArea, &PictureBox::clicked, this, &TFAcc2::Image1Click);

    const QFont editFont = [&] {
        QFont f = MakeFont("Comic Sans MS", 16, true);
        f.setItalic(true);
        return f;
    }();
    auto* validator = new Cp1251Validator(this);
    for (int k = 0; k < CardFieldCount; ++k) {
        const CardFieldInfo& field = CardField(k);
        const int column = k / 7;
        const int y = kRowY[k % 7];
        const QString iconName = QStringLiteral("Im") + QLatin1String(field.ObjectName).mid(4);
        Icons[k] = MakePictureArea(this, iconName.toLatin1().constData(), QRect(5 + 250 * column, y, 32, 32));
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(field.ObjectName));
        e->setGeometry(40 + 250 * column, y, 200, 31);
        e->setMaxLength(field.MaxLength);
        e->setFont(editFont);
        e->setStyleSheet(QStringLiteral("color: rgb(0, 0, 100); background-color: rgb(200, 255, 255);"));
        e->setValidator(validator);
        e->setToolTip(UiText(field.Hint));
        connect(e, &QLineEdit::textEdited, this, [this] { ButtonOkI->setEnabled(cardKnown_); });
        Edits[k] = e;
    }

    noteLabel = MakeNoteLabel(this, "Label1", QRect(5, 355, 485, 40), 13, UiText(Msg::CardNote));

    const auto button = [this](const char* name, int y, const QString& caption) {
        auto* b = new TTevQuizButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(5, y, 735, 45);
        b->SetColorSB(DRed);
        b->SetFontColor(kYellow);
        b->SetGrayDis(true);
        b->setFont(MakeFont("Comic Sans MS", 16, true));
        b->setText(caption);
        return b;
    };
    ButtonOkI = button("ButtonOkI", 405, UiText(Msg::UpdateInfo));
    ButtonOKF = button("ButtonOKF", 450, UiText(Msg::RefreshPhoto));
    ButtonCancel = button("ButtonCancel", 495, QStringLiteral("Закрыть"));
    connect(ButtonOkI, &QPushButton::clicked, this, &TFAcc2::ButtonOkIClick);
    connect(ButtonOKF, &QPushButton::clicked, this, &TFAcc2::ButtonOKFClick);
    connect(ButtonCancel, &QPushButton::clicked, this, [this] {
        ClickSound();
        reject();
    });

    ChoosePhotoFile = [this] {
        return QFileDialog::getOpenFileName(
            this, UiText(Msg::RefreshPhoto), QString(),
            QStringLiteral("JPEG, PNG (*.jpg *.jpeg *.jpe *.png *.JPG *.JPEG *.JPE *.PNG)"));
    };
    Notice = [this](const QString& text) { ShowAttention(this, text); };
    Inform = [this](const QString& text) { ShowGoodNews(this, text); };
}

bool TFAcc2::Reading() const { return read_.Running() || save_.Running() || upload_.Running(); }

void TFAcc2::Tell(const QString& text)
{
    if (Notice)
        Notice(text);
}

void TFAcc2::showEvent(QShowEvent* event)
{
    LocalDialog::showEvent(event);
    if (opened_)
        return;
    opened_ = true;
    DressArea(*headerArea, {{"G_Club", 122, 0}, {"Account48", 10, 6}, {"Account48", 687, 6}, {"G_Zav1", 222, 57}});
    for (int k = 0; k < CardFieldCount; ++k)
        DressArea(*Icons[k], {{CardField(k).Icon}});
    FillEdits();
    const ClubStateData& c = Club();
    QImage own;
    if (c.OwnPhotoLoaded && ClubPhotoAcceptable(c.OwnPhoto))
        own = DecodedPhoto(c.OwnPhoto);
    DrawPhoto(own);
    ButtonOkI->setEnabled(false);
    ButtonOKF->setEnabled(false);
    if (!cardKnown_)
        ReadCard();
}

void TFAcc2::done(int result)
{
    AbandonRequests(this);
    while (busy_->IsBusy())
        busy_->End();
    LocalDialog::done(result);
}

void TFAcc2::FillEdits()
{
    // Until the card is known nothing can be typed: it would be lost when
    // the card comes, or sent over it.
    for (int k = 0; k < CardFieldCount; ++k) {
        Edits[k]->setText(ToQString(Club().ClubUser.Info.*(CardField(k).Field)));
        Edits[k]->setReadOnly(!cardKnown_);
    }
}

void TFAcc2::ReadCard()
{
    busy_->Begin();
    struct Read {
        bool Known = false;
        TInfo14 Card;
    };
    read_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, nick = Club().ClubUser.Nick]() mutable {
            Read read;
            read.Known = ClubReadInfo(http, accPath, nick, read.Card);
            return read;
        },
        [this](Read read) {
            busy_->End();
            if (!read.Known)
                return;
            cardKnown_ = true;
            Club().ClubUser.Info = read.Card;
            FillEdits();
        });
}

void TFAcc2::DrawPhoto(const QImage& photo)
{
    PaintAreaBackground(*photoArea);
    QPainter p(&photoArea->Canvas());
    if (!photo.isNull())
        p.drawImage(20, 20, photo);
    else
        DrawResPicture(Club().ClubUser.Sex == 'M' ? QStringLiteral("GAcNoM") : QStringLiteral("GAcNoF"), p, 20, 20, 0,
                       0, false);
    DrawResPicture(QStringLiteral("GAcFrame"), p, 0, 0, 0, 0, false);
    p.end();
    photoArea->update();
}

void TFAcc2::ButtonOkIClick()
{
    if (save_.Running() || !cardKnown_)
        return;
    ClickSound();
    TInfo14 card;
    for (int k = 0; k < CardFieldCount; ++k)
        card.*(CardField(k).Field) = ToCp1251(Edits[k]->text());
    card = SanitisedCard(card);
    struct Saved {
        bool Saved = false;
        ClubAnswer Answer = ClubAnswer::Taken;
        TInfo14 Card;
    };
    busy_->Begin();
    ButtonOkI->setEnabled(false);
    save_ = RunRequest(
        this,
        [http = context_.Http, accPath = context_.Addresses.AccPath, nick = Club().ClubUser.Nick, card]() mutable {
            Saved saved;
            saved.Saved = ClubSaveInfo(http, accPath, nick, card);
            saved.Answer = LastClubAnswer(saved.Saved);
            saved.Card = card; // what the server took, unless it gives it back
            TInfo14 read;
            if (saved.Saved && ClubReadInfo(http, accPath, nick, read))
                saved.Card = read;
            return saved;
        },
        [this](Saved saved) {
            busy_->End();
            if (!saved.Saved) {
                ButtonOkI->setEnabled(true);
                Tell(ClubFailureText(saved.Answer, Msg::CardNotSaved));
                return;
            }
            Club().ClubUser.Info = saved.Card;
            // The edits show the card as the club keeps it ("$" and "~"
            // became blanks).
            FillEdits();
            if (Inform)
                Inform(UiText(Msg::CardSaved));
        });
}

void TFAcc2::Image1Click()
{
    ClickSound();
    const QString path = ChoosePhotoFile ? ChoosePhotoFile() : QString();
    if (path.isEmpty())
        return;
    const PhotoSourceRead source = ReadPhotoSource(path);
    if (!source.Problem.isEmpty()) {
        Tell(source.Problem);
        return;
    }
    TFPhotoCrop crop(Prefs(), Background(), source.Picture, this);
    crop.PlayEffect = PlayEffect;
    if (crop.exec() != QDialog::Accepted)
        return;
    // A club photo taken whole goes as it is, without a second compression.
    std::optional<std::string> photo;
    if (!source.Turned && crop.FrameRect() == source.Picture.rect())
        photo = ReadPhotoFile(path);
    if (!photo)
        photo = CutPhoto(source.Picture, crop.FrameRect());
    if (!photo) {
        Tell(UiText(Msg::PhotoFormat));
        return;
    }
    chosen_ = path;
    photo_ = std::move(*photo);
    DrawPhoto(DecodedPhoto(photo_));
    ButtonOKF->setEnabled(true);
}

void TFAcc2::ButtonOKFClick()
{
    if (upload_.Running() || photo_.empty())
        return;
    ClickSound();
    // What goes is the photo shown, cut when it was chosen.
    const std::string nick = Club().ClubUser.Nick;
    const std::string avaPath = context_.ProgramDir + PhotoFileName(nick);
    if (!ClubPhotoAcceptable(photo_) || !QDir().mkpath(QString::fromStdString(context_.ProgramDir + "Ava"))
        || !WriteFileAtomically(avaPath, photo_)) {
        Tell(UiText(Msg::PhotoNotUploaded));
        return;
    }
    struct Upload {
        bool Sent = false;
        ClubAnswer Answer = ClubAnswer::Taken;
        bool Loaded = false;
        std::string Photo;
    };
    busy_->Begin();
    upload_ = RunRequest(
        this,
        [http = context_.Http, at = context_.Addresses, nick, avaPath]() mutable {
            Upload upload;
            upload.Sent = ClubUploadPhoto(http, at.PhotoUpload, avaPath);
            upload.Answer = LastClubAnswer(upload.Sent);
            if (upload.Sent)
                upload.Loaded = ClubLoadPhoto(at.PhotoFolder, nick, upload.Photo);
            return upload;
        },
        [this](Upload upload) {
            busy_->End();
            if (!upload.Sent) {
                Tell(upload.Answer == ClubAnswer::Refused
                         ? UiText(Msg::PhotoNotUploaded)
                         : UiText(Msg::PhotoNotUploaded) + QLatin1Char(' ')
                               + ClubFailureText(upload.Answer, Msg::PhotoNotUploaded));
                return;
            }
            ClubStateData& c = Club();
            c.OwnPhotoLoaded = upload.Loaded;
            if (upload.Loaded)
                c.OwnPhoto = upload.Photo;
            DrawPhoto(upload.Loaded && ClubPhotoAcceptable(c.OwnPhoto) ? DecodedPhoto(c.OwnPhoto) : QImage());
            ButtonOKF->setEnabled(false);
            chosen_.clear();
            photo_.clear();
            if (Inform)
                Inform(UiText(Msg::PhotoUploaded));
        });
}

} // namespace vk
