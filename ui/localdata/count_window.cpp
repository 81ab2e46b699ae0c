#include "ui/localdata/count_window.h"

#include <QLabel>
#include <QPainter>

#include "common/messages.h"
#include "common/text_lines.h"
#include "ui/localdata/apply_fonts.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

constexpr int kRowY[4] = {170, 205, 240, 275};

} // namespace

TFormCount::TFormCount(Settings& prefs, const QImage& background, QWidget* parent)
    : LocalDialog(prefs, background, QSize(500, 400), parent)
{
    setObjectName(QStringLiteral("FormCount"));
    ImageTitle = MakePictureArea(this, "ImageTitle", QRect(0, 0, 500, 100));
    ImagePanel = MakePictureArea(this, "ImagePanel", QRect(10, 105, 480, 255));
    for (int i = 0; i < 8; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        const int y = kRowY[i % 4];
        QPalette pal = label->palette();
        if (i < 4) {
            label->setGeometry(70, y, 300, 26);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            pal.setColor(QPalette::WindowText, QColor(255, 255, 0));
        } else {
            // The value ends at x = 430 whatever its width.
            label->setGeometry(280, y, 150, 26);
            label->setAlignment(Qt::AlignRight | Qt::AlignTop);
            pal.setColor(QPalette::WindowText, QColor(255, 255, 255));
        }
        label->setPalette(pal);
        Labels[i] = label;
    }
    okButton = MakeOkButton(QRect(50, 365, 400, 30));
    SetFonts(prefs.DisplayFontName);
}

void TFormCount::SetFonts(const std::string& displayFontName)
{
    okButton->setFont(MakeFont(displayFontName, ButtonHeight, false));
    for (QLabel* label : Labels)
        label->setFont(MakeFont(displayFontName, ButtonHeight, false));
    TitleFont = MakeFont(displayFontName, PanelHeight, false);
}

void TFormCount::Prepare(const GameFigures& figures)
{
    // The name comes padded to its field's width; the blanks are the
    // file's, not the player's.
    setWindowTitle(UiText(Msg::PlayerCaption) + ToQString(std::string(TrimBlanks(figures.CurrentName))));

    PaintAreaBackground(*ImageTitle);
    {
        QPainter p(&ImageTitle->Canvas());
        p.setFont(TitleFont);
        DrawResPicture(QStringLiteral("G_Info"), p, 50, 0, 0, 0, false);
        DrawResPicture(QStringLiteral("Account48"), p, 10, 6, 0, 0, false);
        DrawResPicture(QStringLiteral("Account48"), p, 442, 6, 0, 0, false);
        DrawResPicture(QStringLiteral("G_Zav3"), p, 90, 60, 0, 0, false);
        const QString lamp = figures.ClubState == 3   ? QStringLiteral("LampG24")
                             : figures.ClubState == 2 ? QStringLiteral("LampY24")
                                                      : QStringLiteral("LampR24");
        DrawResPicture(lamp, p, 34, 6, 0, 0, false);
        DrawResPicture(lamp, p, 466, 6, 0, 0, false);
    }
    ImageTitle->setToolTip(UiText(figures.ClubState == 3 ? Msg::RatingGame : Msg::NotRatingGame));
    ImageTitle->update();

    DressArea(*ImagePanel, {{"G_Panel4", 0, 0}});

    const Msg rows[4] = {Msg::DealNumberRow, Msg::InitialScoreRow, Msg::CurrentScoreRow, Msg::GeneralScoreRow};
    const int values[4] = {figures.DealNumber, figures.InitialScore, figures.Score, figures.Score};
    for (int i = 0; i < 4; ++i) {
        Labels[i]->setText(UiText(rows[i]));
        Labels[i + 4]->setText(QString::number(values[i]));
    }
}

int TFormCount::ShowModal(const GameFigures& figures)
{
    Prepare(figures);
    return exec();
}

} // namespace vk
