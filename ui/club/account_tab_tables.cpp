#include "ui/club/account_tab_tables.h"

#include <QPainter>

#include "common/rounding.h"
#include "logic/club/club_state.h"
#include "ui/club/country_flags.h"
#include "ui/kit/accessibility.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

const QString kNoConnect = QStringLiteral("No Connect");

} // namespace

AccountResultsTab::AccountResultsTab(ClubStateData& club, int& clubState) : AccountTab(2, club, clubState)
{
    refreshButton = MakeRefreshButton(this, "ButtonRef2", {325, 400});
    connect(refreshButton, &QPushButton::clicked, this, &AccountResultsTab::refreshClicked);
}

void AccountResultsTab::PaintResultsTab()
{
    QPainter p(&Canvas());
    StartPicture(p);
    DrawTabTitle(p, UiText(Msg::ResultsTitle));
    p.setFont(TabFont(24));
    const Msg labels[9] = {Msg::RowGame,         Msg::RowPlayer,        Msg::Rating,
                           Msg::RowPlace,        Msg::RowPlayableCycle, Msg::RowBestScore,
                           Msg::RowPlayedCycles, Msg::RowCurrentDeal,   Msg::RowCurrentScore};
    const ClubStateData& c = Club();
    const TTevGame& g = c.ClubGame;
    const QString values[9] = {UiProductName(), ToQString(c.ClubUser.Nick), Decimal(RoundEven(g.Rating)),
                               // No place before the member has a rating.
                               g.Rating > 0 ? Decimal(g.Place) : QString(), Decimal(g.Kon), Decimal(g.Best),
                               Decimal(g.Sessions), Decimal(g.KonL), Decimal(g.Score)};
    const bool shown = !c.ClubUser.Nick.empty() && c.GameRecordOk && State() > 1;
    QStringList read; // each row as a screen reader says it
    for (int r = 0; r < 9; ++r) {
        const int y = 60 + 35 * r;
        DrawBand(p, 10, 692, y, y + 34, r % 2 == 1 ? kTabLightRed : kTabLightYellow);
        DrawCellOutline(p, 10, y, 351, y + 36);
        DrawCellOutline(p, 350, y, 693, y + 36);
        TextOutShadow(UiText(labels[r]) + QLatin1Char(':'), 20, 0, y + 5, p, kTabRed, 'l');
        QString value;
        if (r == 0 || shown)
            TextOutShadow(value = values[r], 0, 682, y + 5, p, kTabRed, 'r');
        else if (!c.GameRecordOk && (State() > 1 || readFailed_))
            TextOutShadow(value = kNoConnect, 350, 692, y + 5, p, kTabRed, 'c');
        read << (UiText(labels[r]) + QStringLiteral(": ") + value).trimmed();
    }
    SetAccessibleItems(&CanvasArea(), read);
    DrawPlatformPictures(p);
    p.end();
    CanvasArea().update();
}

AccountTopTenTab::AccountTopTenTab(ClubStateData& club, int& clubState) : AccountTab(3, club, clubState)
{
    refreshButton = MakeRefreshButton(this, "ButtonRef3", {325, 400});
    connect(refreshButton, &QPushButton::clicked, this, &AccountTopTenTab::refreshClicked);
}

void AccountTopTenTab::PaintTopTenTab()
{
    QPainter p(&Canvas());
    StartPicture(p);
    DrawTabTitle(p, UiText(Msg::TopTenTitle));
    p.setFont(TabFont(20));
    const int borders[7] = {10, 50, 250, 300, 350, 550, 692};
    const QString headings[6] = {QStringLiteral("№"), UiText(Msg::Nick), QStringLiteral("C"),
                                 UiText(Msg::Sex),    UiText(Msg::City), UiText(Msg::Rating)};
    const ClubStateData& c = Club();
    QStringList read; // each row as a screen reader says it
    for (int i = 0; i <= 10; ++i) {
        const int y = 60 + 30 * i;
        DrawBand(p, 10, 692, y, y + 29, i == 0 ? kTabLightRed : i % 2 == 1 ? kTabLightGreen : kTabLightYellow);
        for (int col = 0; col < 6; ++col)
            DrawCellOutline(p, borders[col], y, borders[col + 1] + 1, y + 31);
        if (i == 0) {
            for (int col = 0; col < 6; ++col)
                TextOutShadow(headings[col], borders[col], borders[col + 1], 65, p, kTabRed, 'c');
            continue;
        }
        const TTevTop10& row = c.ClubTopTen[static_cast<std::size_t>(i - 1)];
        if (!c.TopTenOk) {
            // Once, in the first row: the table is not there at all.
            if (i == 1) {
                TextOutShadow(kNoConnect, 50, 250, y + 5, p, kTabRed, 'c');
                read << kNoConnect;
            }
        } else if (!row.Nick.empty()) {
            read << QStringLiteral("%1. %2, %3, %4: %5")
                        .arg(i)
                        .arg(ToQString(row.Nick), ToQString(row.City), UiText(Msg::Rating),
                             Decimal(RoundEven(row.Rating)));
            TextOutShadow(QStringLiteral("%1.").arg(i), 10, 50, y + 5, p, kTabRed, 'c');
            TextOutShadow(ToQString(row.Nick), 55, 0, y + 5, p, kTabRed, 'l');
            DrawCountryFlag(row.Country, 268, 70 + 30 * i, p);
            DrawSexIcon(std::string(1, row.Sex), 318, 68 + 30 * i, p);
            TextOutShadow(ToQString(row.City), 355, 0, y + 5, p, kTabRed, 'l');
            TextOutShadow(Decimal(RoundEven(row.Rating)), 0, 687, y + 5, p, kTabRed, 'r');
        }
    }
    SetAccessibleItems(&CanvasArea(), read);
    DrawPlatformPictures(p);
    p.end();
    CanvasArea().update();
}

} // namespace vk
