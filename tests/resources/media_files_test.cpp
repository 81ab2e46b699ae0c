// The animations, sounds, music and display font the game carries: each is
// listed in resources.qrc under its name and kind, and decodes with the
// properties the game relies on (picture size, frame count and frame time,
// sound format, the font's family name and its Cyrillic capitals).
#include <gtest/gtest.h>

#include "qrc_index.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QString>
#include <QXmlStreamReader>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <ostream>
#include <set>

namespace {

using resource_files::kResourceDir;

QString resourcePath(const QString &prefix, const QString &name)
{
    return resource_files::ResourceFilePath(prefix, name);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

uint16_t le16(const QByteArray &d, qsizetype at) { return qFromLittleEndian<quint16>(d.constData() + at); }
uint32_t le32(const QByteArray &d, qsizetype at) { return qFromLittleEndian<quint32>(d.constData() + at); }
uint16_t be16(const QByteArray &d, qsizetype at) { return qFromBigEndian<quint16>(d.constData() + at); }
uint32_t be32(const QByteArray &d, qsizetype at) { return qFromBigEndian<quint32>(d.constData() + at); }

// ---------------------------------------------------------------- GIF

struct GifCase {
    const char *name;
    int width;
    int height;
    int frames;  // 0: any count of two or more
    int delayMs; // 0: any delay of 20 ms or more
};

// The intro's step changes wait for a given frame index, so those four
// animations must have exactly these frame counts and times.
const GifCase kGifs[] = {
    {"GZastNew1", 346, 260, 101, 40},
    {"GZastNew2", 256, 256, 47, 20},
    {"GZastNew3", 273, 80, 107, 50},
    {"GZastNew4", 120, 120, 36, 30},
    {"GMenu160", 160, 160, 0, 0},
    {"GSv", 139, 108, 0, 0},
    {"GPw", 90, 90, 0, 0},
    {"GEndG1", 130, 250, 0, 0},
    {"GEndG2", 130, 250, 0, 0},
    {"GTevsGIF", 100, 80, 0, 0},
    {"StarG0", 55, 45, 0, 0},
    {"StarR0", 55, 45, 0, 0},
    {"StarY0", 55, 45, 0, 0},
    {"GTopTenAnim", 300, 40, 0, 0},
    {"GAboutSite", 130, 28, 0, 0},
    {"GAboutMail", 35, 35, 0, 0},
};

void PrintTo(const GifCase &c, std::ostream *os) { *os << c.name; }

class GifFiles : public ::testing::TestWithParam<GifCase> {};

TEST_P(GifFiles, DecodesWithItsSizeFramesAndTimesAndLoopsForever)
{
    const GifCase &c = GetParam();
    const QString path = resourcePath(QStringLiteral("/gif"), QString::fromLatin1(c.name));
    ASSERT_FALSE(path.isEmpty()) << c.name << " is not listed under /gif in resources.qrc";

    QImageReader reader(path, "gif");
    ASSERT_TRUE(reader.canRead()) << qPrintable(reader.errorString());
    EXPECT_EQ(reader.size(), QSize(c.width, c.height));
    EXPECT_EQ(reader.loopCount(), -1) << "the animation must loop forever";
    const int count = reader.imageCount();
    if (c.frames) {
        EXPECT_EQ(count, c.frames);
    } else {
        EXPECT_GE(count, 2);
    }

    int decoded = 0;
    for (;;) {
        const QImage frame = reader.read();
        if (frame.isNull())
            break;
        EXPECT_EQ(frame.size(), QSize(c.width, c.height)) << "frame " << decoded;
        const int delay = reader.nextImageDelay();
        if (c.delayMs) {
            EXPECT_EQ(delay, c.delayMs) << "frame " << decoded;
        } else {
            EXPECT_GE(delay, 20) << "frame " << decoded;
        }
        ++decoded;
    }
    EXPECT_EQ(decoded, count) << "every frame counted must decode";
}

INSTANTIATE_TEST_SUITE_P(Animations, GifFiles, ::testing::ValuesIn(kGifs),
                         [](const auto &info) { return std::string(info.param.name); });

// The intro's animations play on black at every window size (the window,
// then the title picture's black ground): whatever moves in them (the flying
// title letters and their trails) fades out before the frame's edge, so no
// frame shows a hard edge.  Each frame's outer ring is black to the
// eye (a glow of 9 in 255 is left to the ornament).
TEST(IntroAnimations, FadeToBlackAtTheFrameEdge)
{
    constexpr int kRing = 2;
    for (const char *name : {"GZastNew1", "GZastNew2", "GZastNew3", "GZastNew4"}) {
        SCOPED_TRACE(name);
        QImageReader reader(resourcePath(QStringLiteral("/gif"), QString::fromLatin1(name)), "gif");
        int frameIndex = 0;
        for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read(), ++frameIndex) {
            frame = frame.convertToFormat(QImage::Format_RGB32);
            int brightest = 0;
            QPoint where;
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x) {
                    if (x >= kRing && x < frame.width() - kRing && y >= kRing && y < frame.height() - kRing)
                        continue;
                    const QRgb px = frame.pixel(x, y);
                    const int level = std::max({qRed(px), qGreen(px), qBlue(px)});
                    if (level > brightest) {
                        brightest = level;
                        where = QPoint(x, y);
                    }
                }
            EXPECT_LE(brightest, 12) << "frame " << frameIndex << " at " << where.x() << "," << where.y();
        }
    }
}

// ---------------------------------------------------------------- WAVE

constexpr uint16_t kPcm = 1;
constexpr uint16_t kImaAdpcm = 0x11;

struct WavCase {
    const char *name;
    uint16_t format;
    int channels;
    int rate; // 0: any
    double minSeconds;
    double maxSeconds;
};

// The intro sounds follow their animations (about 4 s and 1 s).
const WavCase kWavs[] = {
    {"WClick", kPcm, 0, 0, 0.01, 0.3},
    {"WGGut", kPcm, 0, 0, 0.1, 1.5},
    {"WG_Ai", kPcm, 0, 0, 0.1, 1.5},
    {"WGMil", kPcm, 0, 0, 0.3, 3.0},
    {"SZastNew1", kImaAdpcm, 2, 44100, 3.5, 4.8},
    {"SZastNew2", kImaAdpcm, 2, 44100, 0.8, 1.5},
};

struct WavInfo {
    uint16_t format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    double seconds = 0;
};

std::optional<WavInfo> parseWav(const QByteArray &d)
{
    if (d.size() < 12 || !d.startsWith("RIFF") || d.mid(8, 4) != "WAVE")
        return std::nullopt;
    WavInfo info;
    uint16_t blockAlign = 0, samplesPerBlock = 0;
    bool haveFmt = false;
    for (qsizetype at = 12; at + 8 <= d.size();) {
        const QByteArray id = d.mid(at, 4);
        const uint32_t len = le32(d, at + 4);
        const qsizetype body = at + 8;
        if (body + qsizetype(len) > d.size())
            return std::nullopt;
        if (id == "fmt " && len >= 16) {
            info.format = le16(d, body);
            info.channels = le16(d, body + 2);
            info.rate = int(le32(d, body + 4));
            blockAlign = le16(d, body + 12);
            info.bits = le16(d, body + 14);
            if (len >= 20)
                samplesPerBlock = le16(d, body + 18);
            haveFmt = true;
        } else if (id == "data" && haveFmt && blockAlign && info.rate) {
            const double blocks = double(len) / blockAlign;
            const double frames = info.format == kImaAdpcm ? blocks * samplesPerBlock : blocks;
            info.seconds = frames / info.rate;
            return info;
        }
        at = body + len + (len & 1);
    }
    return std::nullopt;
}

void PrintTo(const WavCase &c, std::ostream *os) { *os << c.name; }

class WavFiles : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavFiles, IsRiffWaveOfItsFormatAndLength)
{
    const WavCase &c = GetParam();
    const QString path = resourcePath(QStringLiteral("/raw"), QString::fromLatin1(c.name));
    ASSERT_FALSE(path.isEmpty()) << c.name << " is not listed under /raw in resources.qrc";
    ASSERT_TRUE(path.endsWith(QLatin1String(".wav")));
    const auto info = parseWav(readAll(path));
    ASSERT_TRUE(info) << "not a readable RIFF WAVE file";
    EXPECT_EQ(info->format, c.format);
    if (c.format == kPcm) {
        EXPECT_EQ(info->bits, 16);
    }
    if (c.channels) {
        EXPECT_EQ(info->channels, c.channels);
    } else {
        EXPECT_TRUE(info->channels == 1 || info->channels == 2);
    }
    if (c.rate) {
        EXPECT_EQ(info->rate, c.rate);
    } else {
        EXPECT_GE(info->rate, 22050);
    }
    EXPECT_GE(info->seconds, c.minSeconds);
    EXPECT_LE(info->seconds, c.maxSeconds);
}

INSTANTIATE_TEST_SUITE_P(Sounds, WavFiles, ::testing::ValuesIn(kWavs),
                         [](const auto &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- MP3

struct Mp3Case {
    const char *name;
    int rate; // 0: any
    int channels;
    int kbps; // 0: any (constant or variable)
    double minSeconds;
    double maxSeconds;
};

const Mp3Case kMp3s[] = {
    {"MMusic", 32000, 1, 96, 60, 120},
    {"S_FiGut", 0, 2, 0, 1, 8},
    {"S_FiBad", 0, 1, 0, 0.5, 5},
};

struct Mp3Info {
    int rate = 0;
    int channels = 0;
    std::set<int> kbps;
    double seconds = 0;
};

// Walks the MPEG audio layer III frames after an optional ID3v2 tag.
std::optional<Mp3Info> parseMp3(const QByteArray &d)
{
    static const int kbpsV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1};
    static const int kbpsV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1};
    static const int rateV1[4] = {44100, 48000, 32000, 0};
    qsizetype at = 0;
    if (d.startsWith("ID3") && d.size() >= 10)
        at = 10 + ((d[6] & 0x7f) << 21 | (d[7] & 0x7f) << 14 | (d[8] & 0x7f) << 7 | (d[9] & 0x7f));
    Mp3Info info;
    int frames = 0;
    int samplesPerFrame = 0;
    while (at + 4 <= d.size()) {
        const uint32_t h = be32(d, at);
        if ((h & 0xffe00000u) != 0xffe00000u)
            break;                         // an ID3v1 tag or the end
        const int version = (h >> 19) & 3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
        const int layer = (h >> 17) & 3;   // 1: layer III
        const int bitrateIndex = (h >> 12) & 15;
        const int rateIndex = (h >> 10) & 3;
        if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
            return std::nullopt;
        const bool v1 = version == 3;
        const int kbps = (v1 ? kbpsV1 : kbpsV2)[bitrateIndex];
        const int rate = rateV1[rateIndex] / (v1 ? 1 : version == 2 ? 2 : 4);
        const int channels = ((h >> 6) & 3) == 3 ? 1 : 2;
        if (frames == 0) {
            info.rate = rate;
            info.channels = channels;
            samplesPerFrame = v1 ? 1152 : 576;
        } else if (rate != info.rate || channels != info.channels) {
            return std::nullopt;
        }
        info.kbps.insert(kbps);
        at += (v1 ? 144 : 72) * kbps * 1000 / rate + ((h >> 9) & 1);
        ++frames;
    }
    if (frames < 2)
        return std::nullopt;
    info.seconds = double(frames) * samplesPerFrame / info.rate;
    return info;
}

void PrintTo(const Mp3Case &c, std::ostream *os) { *os << c.name; }

class Mp3Files : public ::testing::TestWithParam<Mp3Case> {};

TEST_P(Mp3Files, IsLayerThreeOfItsRateChannelsAndLength)
{
    const Mp3Case &c = GetParam();
    const QString path = resourcePath(QStringLiteral("/raw"), QString::fromLatin1(c.name));
    ASSERT_FALSE(path.isEmpty()) << c.name << " is not listed under /raw in resources.qrc";
    ASSERT_TRUE(path.endsWith(QLatin1String(".mp3")));
    const auto info = parseMp3(readAll(path));
    ASSERT_TRUE(info) << "not a readable MPEG layer III stream";
    if (c.rate) {
        EXPECT_EQ(info->rate, c.rate);
    }
    EXPECT_EQ(info->channels, c.channels);
    if (c.kbps) {
        EXPECT_EQ(info->kbps, std::set<int>{c.kbps}) << "expected a constant bit rate";
    }
    EXPECT_GE(info->seconds, c.minSeconds);
    EXPECT_LE(info->seconds, c.maxSeconds);
}

INSTANTIATE_TEST_SUITE_P(Music, Mp3Files, ::testing::ValuesIn(kMp3s),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Mp3Parser, RejectsDataThatIsNotLayerThree)
{
    EXPECT_FALSE(parseMp3(QByteArray()));
    EXPECT_FALSE(parseMp3(QByteArray("RIFF\0\0\0\0WAVEfmt ", 16)));
    // A single MPEG-1 layer II header (layer bits 10) is refused.
    EXPECT_FALSE(parseMp3(QByteArray::fromHex("fffd9000") + QByteArray(500, '\0')));
}

// ---------------------------------------------------------------- font

struct SfntTable {
    qsizetype offset = 0;
    qsizetype length = 0;
};

std::optional<SfntTable> sfntTable(const QByteArray &d, const char *tag)
{
    if (d.size() < 12)
        return std::nullopt;
    const int count = be16(d, 4);
    for (int i = 0; i < count; ++i) {
        const qsizetype rec = 12 + 16 * i;
        if (rec + 16 > d.size())
            break;
        if (d.mid(rec, 4) == tag) {
            const SfntTable t{be32(d, rec + 8), be32(d, rec + 12)};
            if (t.offset + t.length <= d.size())
                return t;
        }
    }
    return std::nullopt;
}

// Every Windows (platform 3) name record with the given id, decoded.
QStringList windowsNames(const QByteArray &d, int nameId)
{
    QStringList out;
    const auto t = sfntTable(d, "name");
    if (!t)
        return out;
    const int count = be16(d, t->offset + 2);
    const qsizetype strings = t->offset + be16(d, t->offset + 4);
    for (int i = 0; i < count; ++i) {
        const qsizetype rec = t->offset + 6 + 12 * i;
        if (be16(d, rec) != 3 || be16(d, rec + 6) != nameId)
            continue;
        const qsizetype len = be16(d, rec + 8), at = strings + be16(d, rec + 10);
        QString s;
        for (qsizetype k = 0; k + 1 < len; k += 2)
            s += QChar(be16(d, at + k));
        out << s;
    }
    return out;
}

// Glyph index of a character through the Windows Unicode BMP cmap (format 4).
int glyphFor(const QByteArray &d, char16_t ch)
{
    const auto t = sfntTable(d, "cmap");
    if (!t)
        return 0;
    const int subtables = be16(d, t->offset + 2);
    for (int i = 0; i < subtables; ++i) {
        const qsizetype rec = t->offset + 4 + 8 * i;
        if (be16(d, rec) != 3 || be16(d, rec + 2) != 1)
            continue;
        const qsizetype sub = t->offset + be32(d, rec + 4);
        if (be16(d, sub) != 4)
            continue;
        const int segs = be16(d, sub + 6) / 2;
        const qsizetype ends = sub + 14, starts = ends + 2 * segs + 2, deltas = starts + 2 * segs,
                        ranges = deltas + 2 * segs;
        for (int s = 0; s < segs; ++s) {
            if (ch > be16(d, ends + 2 * s) || ch < be16(d, starts + 2 * s))
                continue;
            const int rangeOffset = be16(d, ranges + 2 * s);
            if (rangeOffset == 0)
                return (ch + be16(d, deltas + 2 * s)) & 0xffff;
            const qsizetype at = ranges + 2 * s + rangeOffset + 2 * (ch - be16(d, starts + 2 * s));
            const int g = be16(d, at);
            return g ? (g + be16(d, deltas + 2 * s)) & 0xffff : 0;
        }
    }
    return 0;
}

class DisplayFont : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString path = resourcePath(QStringLiteral("/any"), QStringLiteral("OLDCYRBOLD"));
        ASSERT_FALSE(path.isEmpty()) << "OLDCYRBOLD is not listed under /any in resources.qrc";
        font = readAll(path);
        ASSERT_TRUE(font.startsWith(QByteArray("\0\1\0\0", 4))) << "not a TrueType font";
    }
    QByteArray font;
};

TEST_F(DisplayFont, CarriesTheFamilyNameTheGameAsksFor)
{
    for (int id : {1, 16}) {
        const QStringList names = windowsNames(font, id);
        ASSERT_FALSE(names.isEmpty()) << "name id " << id;
        for (const QString &n : names)
            EXPECT_EQ(n, QStringLiteral("OldCyr Bold")) << "name id " << id;
    }
}

TEST_F(DisplayFont, NoLongerPresentsTheOriginalName)
{
    // A renamed derivative must not show the original family to users.
    for (int id : {1, 3, 4, 6, 16})
        for (const QString &n : windowsNames(font, id))
            EXPECT_FALSE(n.contains(QLatin1String("Old Standard")) || n.contains(QLatin1String("OldStandard")))
                << "name id " << id << ": " << qPrintable(n);
}

TEST_F(DisplayFont, HasEveryCyrillicCapital)
{
    for (char16_t ch = u'А'; ch <= u'Я'; ++ch)
        EXPECT_NE(glyphFor(font, ch), 0) << "U+" << std::hex << int(ch);
    EXPECT_NE(glyphFor(font, u'Ё'), 0);
}

TEST(DisplayFontLicence, TravelsWithTheFont)
{
    const QByteArray text = readAll(kResourceDir + QStringLiteral("/font/OFL.txt"));
    EXPECT_TRUE(text.contains("SIL OPEN FONT LICENSE")) << "resources/font/OFL.txt must hold the licence";
    EXPECT_TRUE(text.contains("Copyright")) << "the licence goes with the copyright notice";
}

} // namespace
