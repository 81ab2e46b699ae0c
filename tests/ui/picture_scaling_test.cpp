#include <QBuffer>
#include <QPainter>
#include <QRandomGenerator>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "logic/looks/bilinear.h"
#include "ui/game/window_pictures.h"
#include "ui/kit/picture_cache.h"
#include "ui/kit/picture_scaling.h"
#include "logic/looks/resample.h"

namespace {

const QString kFormatError = QStringLiteral("Only COLOR_RGBALPHA and COLOR_RGB formats are supported");

QImage RandomPicture(int width, int height, QImage::Format format, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, random.generate());
    return picture.convertToFormat(format);
}

QImage ThroughPng(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return vk::DecodePng(bytes);
}

QByteArray PngBytes(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

// A 4 x 3 grey-with-alpha PNG (colour type 4), which Qt never writes and
// decodes into the same format as RGB with alpha.
const QByteArray kGreyAlphaPng = QByteArray::fromRawData(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00\x00\x03"
    "\x08\x04\x00\x00\x00\x1e\xfd\x66\x4d\x00\x00\x00\x24\x49\x44\x41\x54\x78\xda\x63\x60\x68\xb0"
    "\x99\x57\xb1\x67\xcb\x2d\x06\x91\x86\x80\x79\x3d\x7b\x4e\xdc\x62\xd0\x68\x48\x99\xb7\x60\xcf"
    "\x9d\x5b\x00\xa1\x8b\x0d\x45\x11\x0d\x98\xb8\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    93);

// The picture's straight (not premultiplied) channels in red, green, blue,
// alpha order, read pixel by pixel.
vk::PixelBuffer ChannelsOf(const QImage& picture, bool alpha)
{
    vk::PixelBuffer buffer{picture.width(), picture.height(), alpha ? 4 : 3, {}};
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            buffer.Bits.insert(buffer.Bits.end(),
                               {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                                static_cast<std::uint8_t>(c.blue())});
            if (alpha)
                buffer.Bits.push_back(static_cast<std::uint8_t>(c.alpha()));
        }
    return buffer;
}

// The 24-bit buffer of a picture shown over black, built pixel by pixel.
vk::TFastDIB OverBlack(const QImage& picture)
{
    const QImage premultiplied = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    vk::TFastDIB dib;
    dib.SetSize(picture.width(), picture.height(), 24);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = premultiplied.pixel(x, y);
            std::uint8_t* bgr = dib.Scanline(y) + 3 * x;
            bgr[0] = static_cast<std::uint8_t>(qBlue(p));
            bgr[1] = static_cast<std::uint8_t>(qGreen(p));
            bgr[2] = static_cast<std::uint8_t>(qRed(p));
        }
    return dib;
}

void CompareWithDIB(const QImage& picture, const vk::TFastDIB& dib)
{
    QCOMPARE(picture.size(), QSize(dib.Width(), dib.AbsHeight()));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint8_t* bgr = dib.Scanline(y) + 3 * x;
            const QRgb p = picture.pixel(x, y);
            if (qRed(p) != bgr[2] || qGreen(p) != bgr[1] || qBlue(p) != bgr[0] || qAlpha(p) != 255)
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2 differs").arg(x).arg(y)));
        }
}

} // namespace

class PictureScalingTest : public QObject {
    Q_OBJECT
private slots:
    void resizePngSmoothRefusesAllButRgbAndRgbAlpha_data()
    {
        QTest::addColumn<QByteArray>("png");
        const QImage colours = RandomPicture(4, 3, QImage::Format_ARGB32, 1);
        QTest::newRow("indexed") << PngBytes(colours.convertToFormat(QImage::Format_Indexed8));
        QTest::newRow("grey") << PngBytes(colours.convertToFormat(QImage::Format_Grayscale8));
        QTest::newRow("grey with alpha") << kGreyAlphaPng;
        QTest::newRow("16-bit RGB with alpha") << PngBytes(colours.convertToFormat(QImage::Format_RGBA64));
        QTest::newRow("16-bit RGB") << PngBytes(colours.convertToFormat(QImage::Format_RGBX64));
    }

    void resizePngSmoothRefusesAllButRgbAndRgbAlpha()
    {
        QFETCH(QByteArray, png);
        QImage picture = vk::DecodePng(png);
        QVERIFY(!picture.isNull());
        const QImage before = picture;

        const auto error = vk::ResizePngSmooth(picture, 8, 6);
        QVERIFY(error.has_value());
        QCOMPARE(*error, kFormatError);
        QCOMPARE(picture, before);

        // Sizes of one are left alone before the colour type is looked at.
        QVERIFY(!vk::ResizePngSmooth(picture, 1, 6).has_value());
        QCOMPARE(picture, before);
    }

    void resizePngSmoothResamplesEveryChannel_data()
    {
        QTest::addColumn<bool>("alpha");
        QTest::newRow("RGB") << false;
        QTest::newRow("RGB with alpha") << true;
    }

    void resizePngSmoothResamplesEveryChannel()
    {
        // Odd widths give rows with filler; a PNG round trip gives the
        // formats the decoder really hands over.
        QFETCH(bool, alpha);
        QImage picture = ThroughPng(RandomPicture(5, 3, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32, 3));
        QCOMPARE(picture.hasAlphaChannel(), alpha);
        const QImage::Format format = picture.format();
        vk::PixelBuffer expected = ChannelsOf(picture, alpha);
        vk::ResizeBilinear(expected, 7, 11);

        QVERIFY(!vk::ResizePngSmooth(picture, 7, 11).has_value());
        QCOMPARE(picture.format(), format);
        const vk::PixelBuffer actual = ChannelsOf(picture, alpha);
        QCOMPARE(actual.Width, 7);
        QCOMPARE(actual.Height, 11);
        QVERIFY(actual.Bits == expected.Bits);
    }

    void scalePictureSmoothCopiesAPictureOfTheRightSize()
    {
        const QImage source = RandomPicture(9, 4, QImage::Format_ARGB32, 4);
        QImage destination;
        vk::ScalePictureSmooth(source, destination, 9, 4);
        QCOMPARE(destination, source);
        QCOMPARE(destination.format(), QImage::Format_ARGB32);
    }

    void scalePictureSmoothResamplesOverBlack_data()
    {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<QSize>("target");
        QTest::newRow("opaque, down") << QImage::Format_RGB32 << QSize(13, 7);
        QTest::newRow("opaque, up") << QImage::Format_RGB888 << QSize(61, 40);
        QTest::newRow("with alpha") << QImage::Format_ARGB32 << QSize(20, 11);
    }

    void scalePictureSmoothResamplesOverBlack()
    {
        QFETCH(QImage::Format, format);
        QFETCH(QSize, target);
        const QImage source = RandomPicture(27, 15, format, 5);
        vk::TFastDIB expected;
        expected.SetSize(target.width(), target.height(), 24);
        vk::ResampleDIB(OverBlack(source), expected, vk::kSpline36Filter);

        QImage destination;
        vk::ScalePictureSmooth(source, destination, target.width(), target.height());
        CompareWithDIB(destination, expected);

        // The background scales itself in place.
        QImage same = source;
        vk::ScalePictureSmooth(same, same, target.width(), target.height());
        QCOMPARE(same, destination);
    }

    void scalePictureSmoothOfNothingIsBlack()
    {
        QImage destination;
        vk::ScalePictureSmooth(QImage(), destination, 4, 3);
        QCOMPARE(destination.size(), QSize(4, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(destination.pixel(x, y), qRgb(0, 0, 0));
        vk::ScalePictureSmooth(RandomPicture(3, 3, QImage::Format_RGB32, 6), destination, 0, 5);
        QVERIFY(destination.isNull());
    }

    // The window's pictures come from the player's cache folder once built;
    // a damaged, cut or stale copy is built again, never shown.
    void windowPicturesComeFromTheCacheAndADamagedCopyIsBuiltAgain()
    {
        QTemporaryDir home;
        qputenv("XDG_CACHE_HOME", home.path().toLocal8Bit());
        const QSize size(760, 500);
        const QImage menu = vk::MenuBackground(size);
        const QImage background = vk::WindowBackground(size);
        QCOMPARE(menu.size(), size);
        QCOMPARE(background.size(), size);
        QDir folder(vk::PictureCacheFolder());
        const QStringList kept = folder.entryList({QStringLiteral("*.pic")}, QDir::Files, QDir::Name);
        QCOMPARE(kept.size(), 2);
        QCOMPARE(vk::MenuBackground(size), menu);
        QCOMPARE(vk::WindowBackground(size), background);

        const QString menuFile = folder.filePath(kept.filter(QStringLiteral("G_BGMenu")).value(0));
        const auto damage = [&](const std::function<void(QFile&)>& how) {
            QFile file(menuFile);
            QVERIFY(file.open(QIODevice::ReadWrite));
            how(file);
        };
        // One pixel changed in the middle, the file cut short, the header
        // naming another size: each time the menu is built again.
        damage([](QFile& f) {
            f.seek(f.size() / 2);
            f.write("\x7f\x01\x02", 3);
        });
        QCOMPARE(vk::MenuBackground(size), menu);
        damage([](QFile& f) { f.resize(f.size() - 1000); });
        QCOMPARE(vk::MenuBackground(size), menu);
        damage([](QFile& f) {
            f.seek(8);
            const quint32 width = 761;
            f.write(reinterpret_cast<const char*>(&width), 4);
        });
        QCOMPARE(vk::MenuBackground(size), menu);

        // A copy made from an older source at this size goes when the new
        // one is written.
        const QString stale = menuFile.left(menuFile.lastIndexOf(QLatin1Char('-'))) + QStringLiteral("-1234.pic");
        QVERIFY(QFile::copy(menuFile, stale));
        QVERIFY(QFile::remove(menuFile));
        QCOMPARE(vk::MenuBackground(size), menu);
        QVERIFY(!QFile::exists(stale));
        QVERIFY(QFile::exists(menuFile));

        // Pictures built ahead for other sizes are the ones read later.
        vk::PrepareWindowPictures({QSize(988, 650)});
        QCOMPARE(folder.entryList({QStringLiteral("*-988x650-*.pic")}, QDir::Files).size(), 2);
        qunsetenv("XDG_CACHE_HOME");
    }
};

QTEST_MAIN(PictureScalingTest)
#include "picture_scaling_test.moc"
