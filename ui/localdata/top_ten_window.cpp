#include "ui/localdata/top_ten_window.h"

#include <QEvent>
#include <QPainter>

#include "common/messages.h"
#include "ui/localdata/apply_fonts.h"
#include "logic/localdata/club_file.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {

TFormTopTen::TFormTopTen(Settings& prefs, const QImage& background, QWidget* parent)
    : LocalDialog(prefs, background, QSize(520, 500), parent)
{
    setObjectName(QStringLiteral("FormTopTen"));
    ImageTitle = MakePictureArea(this, "ImageTitle", QRect(0, 0, 520, 60));
    listArea = MakePictureArea(this, "Image1", QRect(5, 85, 510, 375));
    titleAnimation = new AnimationPlayer(this);
    titleAnimation->setObjectName(QStringLiteral("RxGIFAn1"));
    titleAnimation->setGeometry(110, 60, 300, 40);
    okButton = MakeOkButton(QRect(5, 465, 510, 30));
    SetFonts(prefs.DisplayFontName);
}

void TFormTopTen::SetFonts(const std::string& displayFontName)
{
    ListFont = MakeFont(displayFontName, LabelHeight, false);
    okButton->setFont(MakeFont(displayFontName, ButtonHeight, false));
}

void TFormTopTen::Prepare(const std::string& clubFilePath)
{
    setWindowTitle(FromUtf8(MessageText(Msg::TopTen, 1)));

    DressArea(*ImageTitle, {{"G_TopTen", 60, 0}, {"GPTop10", 10, 6}, {"GPTop10", 462, 6}});
    LoadGifRes(QStringLiteral("GTopTenAnim"), *titleAnimation);

    PaintAreaBackground(*listArea);
    QPainter p(&listArea->Canvas());
    DrawSmoothPicture(QStringLiteral("SvitokSm"), p, 0, 0, 510, 375);

    // Read at every showing, so the list is what the file holds now; a file
    // that cannot be read leaves the places empty.
    const auto lines = ReadClubFile(clubFilePath);
    QFont font = ListFont;
    font.setPixelSize(22);
    p.setFont(font);
    p.setBackgroundMode(Qt::TransparentMode);
    for (int r = 1; r <= TopTenCount; ++r) {
        const int y = 40 + 25 * r;
        p.setPen(r <= 3 ? QColor(0, 0, 255) : QColor(0, 0, 128));
        TextOutAt(QString::number(r) + QLatin1Char('.'), 65, y, p);
        if (!lines)
            continue;
        const std::string& line = (*lines)[static_cast<std::size_t>(MemberCount + r - 1)];
        TextOutAt(ToQString(TopTenName(line)), 95, y, p);
        TextOutRight(ToQString(TopTenScoreField(line)), 450, y, p);
    }
    p.end();
    listArea->update();
}

int TFormTopTen::ShowModal(const std::string& clubFilePath)
{
    Prepare(clubFilePath);
    return exec();
}

void TFormTopTen::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        setWindowTitle(FromUtf8(MessageText(Msg::TopTen, 1)));
    LocalDialog::changeEvent(event);
}

void TFormTopTen::done(int result)
{
    titleAnimation->Clear();
    LocalDialog::done(result);
}

} // namespace vk
