#include "ui/club/adv_window.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>

#include <optional>
#include <vector>

#include "net/http_client.h"
#include "ui/kit/link_opener.h"
#include "logic/club/remote_config.h"
#include "common/text_cipher.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"
#include "ui/kit/window_busy.h"

namespace vk {
namespace {

constexpr int kLargestPicture = 4096;

// What the loading brings back to the window.
struct AdvertisementLoad {
    bool PageRead = false;
    bool ListValid = false;
    std::array<Advertisement, 4> Chosen;
    std::array<std::optional<std::string>, 4> Pictures;
};

QPixmap ButtonPicture(const QImage& downloaded)
{
    QImage picture;
    if (const auto bytes = ResourceBytes(ResourceKind::Raw, QStringLiteral("BGAdv")))
        picture = DecodePng(*bytes).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!downloaded.isNull()) {
        if (picture.isNull())
            picture = QImage(downloaded.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&picture);
        p.drawImage(0, 0, downloaded);
    }
    return QPixmap::fromImage(picture);
}

} // namespace

QImage DecodeAdvertisementPicture(const std::string& bytes)
{
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    if (!reader.canRead())
        return {};
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kLargestPicture || size.height() > kLargestPicture)
        return {};
    return reader.read();
}

TFormAdv::TFormAdv(Settings& prefs, const QImage& background, QWidget* parent)
    : LocalDialog(prefs, background, QSize(400, 410), parent)
{
    setObjectName(QStringLiteral("FormAdv"));
    setWindowTitle(UiText(Msg::AdvCaption));
    busy_ = new WindowBusy(this);
    ImageTitle = MakePictureArea(this, "ImageTitle", QRect(0, 0, 400, 100));

    ButtonReload = new TTevQuizButton(this);
    ButtonReload->setObjectName(QStringLiteral("ButtonReload"));
    ButtonReload->setGeometry(350, 10, 44, 45);
    ButtonReload->SetColorSB(DNavy);
    if (const auto bytes = ResourceBytes(ResourceKind::Raw, QStringLiteral("GReload24")))
        ButtonReload->SetGlyph(QPixmap::fromImage(DecodePng(*bytes)));
    ButtonReload->setAccessibleName(UiText(Msg::Refresh));
    connect(ButtonReload, &QPushButton::clicked, this, [this] {
        ClickSound();
        LoadAdvertisements();
    });
    for (int i = 0; i < 4; ++i) {
        auto* b = new TTevQuizButton(this);
        b->setObjectName(QStringLiteral("ButtonAdv%1").arg(i + 1));
        b->setGeometry(5, 110 + 65 * i, 390, 60);
        b->SetColorSB(DYellow);
        b->SetFontColor(0x000000);
        b->SetColorMouse(0xFFFFFF);
        b->SetGrayDis(true);
        connect(b, &QPushButton::clicked, this, [this, i] { AdvClick(i); });
        ButtonAdv[static_cast<std::size_t>(i)] = b;
    }
    okButton = MakeOkButton(QRect(5, 375, 390, 30));
    Draw = [](int n) { return static_cast<int>(QRandomGenerator::global()->bounded(n)); };
    SetFonts(prefs.DisplayFontName);
}

void TFormAdv::SetFonts(const std::string& displayFontName)
{
    const QFont buttons = MakeFont(displayFontName, 18, false);
    for (TTevQuizButton* b : ButtonAdv)
        b->setFont(buttons);
    okButton->setFont(buttons);
    ImageTitle->setFont(MakeFont(displayFontName, 24, false));
}

int TFormAdv::ShowModal()
{
    CentreOnParent();
    return exec();
}

void TFormAdv::showEvent(QShowEvent* event)
{
    LocalDialog::showEvent(event);
    DressArea(*ImageTitle, {{"G_OurGames", 0, 0}, {"AdvR", 10, 6}, {"G_Zav3", 40, 60}});
    LoadAdvertisements();
}

void TFormAdv::done(int result)
{
    AbandonRequests(this);
    LocalDialog::done(result);
}

void TFormAdv::ShowEmpty(const QString& caption)
{
    const QPixmap plain = ButtonPicture({});
    for (std::size_t i = 0; i < ButtonAdv.size(); ++i) {
        ButtonAdv[i]->SetGlyph(plain);
        ButtonAdv[i]->setText(caption);
        // Off, but its caption in the buttons' own black on yellow: grey
        // would hardly read there.
        ButtonAdv[i]->SetGrayDis(false);
        ButtonAdv[i]->setEnabled(false);
        Links[i].clear();
    }
}

void TFormAdv::LoadAdvertisements()
{
    if (load_.Running())
        return;
    busy_->Begin();
    // The choice is made here, on the window's thread; the worker reads the
    // page and the four pictures one after the other, and stops at the
    // first that cannot be reached at all.
    load_ = RunRequest(
        this,
        [address = DecodeText(configAddress_, AddressStartKey), draw = Draw]() {
            AdvertisementLoad load;
            bool answered = false;
            const auto body = HttpGet(address, {}, &answered);
            if (!body)
                return load;
            load.PageRead = true;
            const std::string text = PageText(*body);
            const auto count = AdvertisementCount(text);
            if (!count)
                return load;
            load.ListValid = true;
            const auto chosen = ChooseFourOf(*count, draw);
            for (std::size_t i = 0; i < chosen.size(); ++i)
                load.Chosen[i] = ReadAdvertisement(text, chosen[i], address);
            TransportLimits limits;
            limits.MaxReplyBytes = TextReplyCap;
            for (std::size_t i = 0; i < chosen.size(); ++i) {
                const std::string& picture = load.Chosen[i].Picture;
                if (picture.empty())
                    continue;
                load.Pictures[i] = HttpGet(picture, limits, &answered);
                if (!load.Pictures[i] && !answered)
                    break;
            }
            return load;
        },
        [this](AdvertisementLoad load) {
            busy_->End();
            if (!load.PageRead) {
                ShowEmpty(QStringLiteral("No Connect"));
                return;
            }
            if (!load.ListValid) {
                ShowEmpty(UiText(Msg::NoAdvertisements));
                return;
            }
            for (std::size_t i = 0; i < ButtonAdv.size(); ++i) {
                const QImage picture = load.Pictures[i] ? DecodeAdvertisementPicture(*load.Pictures[i]) : QImage();
                ButtonAdv[i]->SetGlyph(ButtonPicture(picture));
                ButtonAdv[i]->setText(ToQString(load.Chosen[i].Name));
                ButtonAdv[i]->setEnabled(true);
                Links[i] = load.Chosen[i].Link;
            }
        });
}

void TFormAdv::AdvClick(int i)
{
    ClickSound();
    OpenOutsideLink(this, ToQString(Links[static_cast<std::size_t>(i)]));
}

} // namespace vk
