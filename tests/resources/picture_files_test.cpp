// The still pictures the game carries: each is listed in resources.qrc under
// its name and kind, decodes, has the size the windows draw it at and the
// pixel format the code relies on (8-bit RGBA PNG: the button recolouring and
// the smooth resampler read the channels directly). A few pictures carry
// geometry the code depends on, checked here too.
#include <gtest/gtest.h>

#include "qrc_index.h"

#include <QFile>
#include <QImage>
#include <QMap>
#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <set>
#include <utility>

namespace {

using resource_files::kResourceDir;

QString picturePath(const QString &prefix, const QString &name)
{
    return resource_files::ResourceFilePath(prefix, name);
}

// Bit depth and colour type from a PNG's IHDR chunk; {0, 0} if not a PNG.
std::pair<int, int> pngDepthAndColourType(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {0, 0};
    const QByteArray head = f.read(26);
    if (head.size() < 26 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR")
        return {0, 0};
    return {static_cast<unsigned char>(head[24]), static_cast<unsigned char>(head[25])};
}

QImage loadPicture(const QString &prefix, const QString &name)
{
    const QString path = picturePath(prefix, name);
    return path.isEmpty() ? QImage() : QImage(path).convertToFormat(QImage::Format_ARGB32);
}

struct PictureCase {
    const char *name;
    int width;
    int height;
};

std::ostream &operator<<(std::ostream &os, const PictureCase &c)
{
    return os << c.name << ' ' << c.width << 'x' << c.height;
}

// clang-format off
const PictureCase kPngPictures[] = {
    // Button faces.
    {"B29_Left", 15, 29}, {"B29_Right", 15, 29}, {"B29_Telo", 1, 29},
    {"B29_LeftL", 15, 29}, {"B29_RightL", 15, 29}, {"B29_TeloL", 1, 29},
    {"B44_Left", 24, 44}, {"B44_Right", 24, 44}, {"B44_Telo", 1, 44},
    {"B44_LeftL", 24, 44}, {"B44_RightL", 24, 44}, {"B44_TeloL", 1, 44},
    {"B59_Left", 30, 59}, {"B59_Right", 30, 59}, {"B59_Telo", 1, 59},
    {"B59_LeftL", 30, 59}, {"B59_RightL", 30, 59}, {"B59_TeloL", 1, 59},
    // Letter tiles.
    {"Bu01a", 125, 175}, {"Bu02b", 125, 175}, {"Bu03v", 125, 175}, {"Bu04g", 125, 175},
    {"Bu05d", 125, 175}, {"Bu06e", 125, 175}, {"Bu07g", 125, 175}, {"Bu08z", 125, 175},
    {"Bu09i", 125, 175}, {"Bu10i", 125, 175}, {"Bu11k", 125, 175}, {"Bu12l", 125, 175},
    {"Bu13m", 125, 175}, {"Bu14n", 125, 175}, {"Bu15o", 125, 175}, {"Bu16p", 125, 175},
    {"Bu17r", 125, 175}, {"Bu18s", 125, 175}, {"Bu19t", 125, 175}, {"Bu20u", 125, 175},
    {"Bu21f", 125, 175}, {"Bu22h", 125, 175}, {"Bu23c", 125, 175}, {"Bu24c", 125, 175},
    {"Bu25s", 125, 175}, {"Bu26s", 125, 175}, {"Bu27t", 125, 175}, {"Bu28i", 125, 175},
    {"Bu29m", 125, 175}, {"Bu30e", 125, 175}, {"Bu31u", 125, 175}, {"Bu32y", 125, 175},
    // Board and deal.
    {"GRamka1", 1096, 790}, {"GRamka2", 1096, 316}, {"GFrameS", 95, 130},
    {"Star1", 128, 128}, {"Star2", 128, 128}, {"Star3", 128, 128}, {"Star4", 128, 128},
    // Title banners and stripes.
    {"G_Begin", 400, 60}, {"G_Options", 400, 60}, {"G_TopTen", 400, 60}, {"G_End", 400, 60},
    {"G_Info", 400, 60}, {"G_OurGames", 400, 60}, {"G_Club", 500, 60}, {"G_Passport", 400, 60},
    {"G_WT", 400, 60}, {"G_Chat", 400, 60}, {"G_WS", 400, 60},
    {"G_Zav1", 300, 40}, {"G_Zav2", 310, 30}, {"G_Zav3", 320, 40}, {"G_Zav4", 700, 40},
    // Panels and decorations.
    {"G_Panel3", 360, 400}, {"G_Panel4", 480, 255}, {"G_Panel5", 440, 85}, {"G_Panel6", 200, 110},
    {"G_Panel7", 350, 100}, {"G_Panel8", 310, 350}, {"G_Panel9", 310, 190}, {"G_PanR", 124, 124},
    {"Portret", 170, 234}, {"GMech", 120, 200}, {"GSideWT", 80, 350},
    {"Caption", 800, 200}, {"GTitle", 600, 160}, {"Logo", 64, 64}, {"G_BGMenu", 1921, 1280},
    // Window icons.
    {"GPOpt", 48, 48}, {"GPFlagS", 48, 48}, {"GPTop10", 48, 48}, {"GPFlagF", 48, 48},
    {"Account48", 48, 48}, {"Earth48", 48, 48}, {"GChat048", 48, 48}, {"GIcon048", 48, 48},
    {"AdvR", 48, 48}, {"Android", 48, 48}, {"Windows", 48, 48}, {"GRuStore", 48, 48},
    {"GHelp048", 48, 48}, {"GStat048", 48, 48}, {"GStatWin048", 48, 48}, {"GAttention048", 48, 48},
    // Small icons, currency, frames, scrolls.
    {"LampG24", 24, 24}, {"LampR24", 24, 24}, {"LampY24", 24, 24}, {"G_Yes", 28, 28}, {"G_No", 28, 28},
    {"FaceMan16", 16, 16}, {"FaceWoman16", 16, 16}, {"GTevs128", 64, 64}, {"GTevsT128", 128, 128},
    {"RamkaAc", 330, 55}, {"SvitokSM", 663, 488}, {"SvitokWT", 315, 400}, {"BGAdv", 50, 50},
    {"GFree", 10, 10}, {"GRefresh24", 24, 24}, {"GReload24", 24, 24}, {"GSend24", 24, 16},
    // The main window's popup menu picture list.
    {"GMenu0", 24, 24}, {"GMenu1", 24, 24}, {"GMenu2", 24, 24}, {"GMenu3", 24, 24},
    {"GMenu4", 24, 24}, {"GMenu5", 24, 24}, {"GMenu6", 24, 24},
    // Member card.
    {"GAcFrame", 240, 290}, {"GAcNoM", 200, 250}, {"GAcNoF", 200, 250},
    {"GAcName1", 32, 32}, {"GAcName2", 32, 32}, {"GAcAbout", 32, 32}, {"GAcTelephone", 32, 32},
    {"GAcEMail", 32, 32}, {"GAcWebSite", 32, 32}, {"GAcSkype", 32, 32}, {"GAcOK", 32, 32},
    {"GAcVK", 32, 32}, {"GAcTelegram", 32, 32}, {"GAcFaceBook", 32, 32}, {"GAcTwitter", 32, 32},
    {"GAcInstagramm", 32, 32}, {"GAcYouTube", 32, 32},
};
// clang-format on

class PngPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PngPicture, IsListedDecodesAtItsSizeAsEightBitRgba)
{
    const PictureCase &c = GetParam();
    const QString path = picturePath(QStringLiteral("/raw"), QString::fromLatin1(c.name));
    ASSERT_FALSE(path.isEmpty()) << c.name << " is missing from resources.qrc";
    const QImage img(path);
    ASSERT_FALSE(img.isNull()) << qPrintable(path) << " does not decode";
    EXPECT_EQ(img.width(), c.width);
    EXPECT_EQ(img.height(), c.height);
    const auto [depth, colourType] = pngDepthAndColourType(path);
    EXPECT_EQ(depth, 8);
    EXPECT_EQ(colourType, 6) << "expected RGBA (colour type 6)";
}

INSTANTIATE_TEST_SUITE_P(PictureFiles, PngPicture, ::testing::ValuesIn(kPngPictures));

TEST(PictureFiles, WindowBackgroundIsAJpegOfFullSize)
{
    const QString path = picturePath(QStringLiteral("/jpeg"), QStringLiteral("BG"));
    ASSERT_FALSE(path.isEmpty());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(3) == QByteArray("\xff\xd8\xff", 3)) << "not a JPEG stream";
    const QImage img(path);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(1680, 1050));
}

// The game turns the red faces into its other colour variants by permuting
// channels; any pixel that is not a pure red hue (green == blue, red
// dominant) would come out in a stray colour.
TEST(PictureFiles, ButtonFacesArePureRedHues)
{
    for (const char *set : {"B29", "B44", "B59"})
        for (const char *piece : {"_Left", "_Right", "_Telo", "_LeftL", "_RightL", "_TeloL"}) {
            const QString name = QString::fromLatin1(set) + QString::fromLatin1(piece);
            const QImage img = loadPicture(QStringLiteral("/raw"), name);
            ASSERT_FALSE(img.isNull()) << qPrintable(name);
            int bad = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QRgb px = img.pixel(x, y);
                    if (qAlpha(px) > 0 && (qGreen(px) != qBlue(px) || qRed(px) < qGreen(px)))
                        ++bad;
                }
            EXPECT_EQ(bad, 0) << qPrintable(name) << " has pixels that are not pure red hues";
        }
}

// The body is stretched between the caps: its column must continue the caps'
// inner columns without a visible seam, and the faces must be see-through
// outside the pill (they are drawn with their alpha over the window).
TEST(PictureFiles, ButtonFacePiecesJoinWithoutSeams)
{
    for (const char *set : {"B29", "B44", "B59"})
        for (const char *lit : {"", "L"}) {
            const QString base = QString::fromLatin1(set);
            const QImage left = loadPicture("/raw", base + "_Left" + lit);
            const QImage body = loadPicture("/raw", base + "_Telo" + lit);
            const QImage right = loadPicture("/raw", base + "_Right" + lit);
            ASSERT_FALSE(left.isNull() || body.isNull() || right.isNull());
            int worst = 0;
            for (int y = 0; y < body.height(); ++y) {
                const QRgb b = body.pixel(0, y);
                for (const QRgb n : {left.pixel(left.width() - 1, y), right.pixel(0, y)})
                    worst = std::max({worst, std::abs(qRed(n) - qRed(b)), std::abs(qGreen(n) - qGreen(b)),
                                      std::abs(qAlpha(n) - qAlpha(b))});
            }
            EXPECT_LE(worst, 24) << qPrintable(base + lit) << ": visible seam between cap and body";
            EXPECT_EQ(qAlpha(left.pixel(0, 0)), 0) << qPrintable(base + lit) << ": corner not transparent";
            EXPECT_EQ(qAlpha(right.pixel(right.width() - 1, right.height() - 1)), 0);
            EXPECT_EQ(qAlpha(body.pixel(0, body.height() / 2)), 255);
        }
}

TEST(PictureFiles, LetterTilesAreAllDifferent)
{
    std::set<QByteArray> seen;
    const char *names[] = {"Bu01a", "Bu02b", "Bu03v", "Bu04g", "Bu05d", "Bu06e", "Bu07g", "Bu08z",
                           "Bu09i", "Bu10i", "Bu11k", "Bu12l", "Bu13m", "Bu14n", "Bu15o", "Bu16p",
                           "Bu17r", "Bu18s", "Bu19t", "Bu20u", "Bu21f", "Bu22h", "Bu23c", "Bu24c",
                           "Bu25s", "Bu26s", "Bu27t", "Bu28i", "Bu29m", "Bu30e", "Bu31u", "Bu32y"};
    for (const char *name : names) {
        const QImage img = loadPicture("/raw", name);
        ASSERT_FALSE(img.isNull()) << name;
        const QByteArray bytes(reinterpret_cast<const char *>(img.constBits()), img.sizeInBytes());
        EXPECT_TRUE(seen.insert(bytes).second) << name << " repeats an earlier tile";
    }
}

// The game stretches the empty cell into the 5 x 10 grid at (73, 70) with a
// 95 x 130 pitch: every cell of the frame must be an opening there, bounded
// by the bright gold band outside the grid.
TEST(PictureFiles, BoardFrameOpeningsFollowTheCellGrid)
{
    const QImage img = loadPicture("/raw", "GRamka1");
    ASSERT_EQ(img.size(), QSize(1096, 790));
    auto luma = [&](int x, int y) {
        const QRgb px = img.pixel(x, y);
        return (qRed(px) * 299 + qGreen(px) * 587 + qBlue(px) * 114) / 1000;
    };
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 10; ++c) {
            const int cx = 73 + 95 * c + 47, cy = 70 + 130 * r + 65;
            EXPECT_EQ(qAlpha(img.pixel(cx, cy)), 255);
            EXPECT_LT(luma(cx, cy), 60) << "cell " << r + 1 << "," << c + 1 << " is not an opening";
        }
    for (const QPoint band : {QPoint(20, 395), QPoint(1076, 395), QPoint(548, 20), QPoint(548, 770)})
        EXPECT_GT(luma(band.x(), band.y()), 110) << "no gold band at " << band.x() << "," << band.y();
}

TEST(PictureFiles, PhotoFrameLeavesThePhotoOpeningClear)
{
    const QImage img = loadPicture("/raw", "GAcFrame");
    ASSERT_EQ(img.size(), QSize(240, 290));
    int covered = 0;
    for (int y = 20; y < 270; ++y)
        for (int x = 20; x < 220; ++x)
            if (qAlpha(img.pixel(x, y)) != 0)
                ++covered;
    EXPECT_EQ(covered, 0) << "the frame covers part of the 200 x 250 photo at (20, 20)";
    EXPECT_EQ(qAlpha(img.pixel(10, 145)), 255);
    EXPECT_EQ(qAlpha(img.pixel(120, 279)), 255);
}

TEST(PictureFiles, FreeIsTransparentWhite)
{
    const QImage img = loadPicture("/raw", "GFree");
    ASSERT_EQ(img.size(), QSize(10, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(img.pixel(x, y), qRgba(255, 255, 255, 0)) << x << "," << y;
}

// Six continent lists; image k of a list is the flag of row k of the
// continent's country table, so each list has exactly as many images as rows.
TEST(PictureFiles, FlagListsHaveOneFlagPerCountryRow)
{
    const struct {
        const char *list;
        int rows;
    } lists[] = {{"ILEuro", 49}, {"ILAsia", 52}, {"ILNAme", 36}, {"ILSAme", 15}, {"ILOcea", 24}, {"ILAfri", 55}};
    int total = 0;
    for (const auto &l : lists) {
        for (int k = 0; k < l.rows; ++k) {
            const QString name = QStringLiteral("%1_%2").arg(QLatin1String(l.list)).arg(k, 3, 10, QChar('0'));
            const QString path = picturePath("/flags", name);
            ASSERT_FALSE(path.isEmpty()) << qPrintable(name) << " is missing from resources.qrc";
            const QImage img(path);
            ASSERT_FALSE(img.isNull()) << qPrintable(path);
            EXPECT_EQ(img.size(), QSize(14, 12)) << qPrintable(name);
            EXPECT_EQ(pngDepthAndColourType(path), std::make_pair(8, 6)) << qPrintable(name);
            ++total;
        }
        const QString beyond = QStringLiteral("%1_%2").arg(QLatin1String(l.list)).arg(l.rows, 3, 10, QChar('0'));
        EXPECT_TRUE(picturePath("/flags", beyond).isEmpty()) << qPrintable(beyond) << " has no country row";
    }
    EXPECT_EQ(total, 231);
}

// Row 0 of every list is "Unknown" and shows the same neutral flag; a real
// country never shares it.
TEST(PictureFiles, UnknownFlagIsTheSameNeutralFlagInEveryList)
{
    const QImage unknown = loadPicture("/flags", "ILEuro_000");
    ASSERT_FALSE(unknown.isNull());
    for (const char *list : {"ILAsia", "ILNAme", "ILSAme", "ILOcea", "ILAfri"})
        EXPECT_EQ(loadPicture("/flags", QStringLiteral("%1_000").arg(QLatin1String(list))), unknown) << list;
    EXPECT_NE(loadPicture("/flags", "ILEuro_001"), unknown);
}

} // namespace
