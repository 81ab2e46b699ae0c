// The photo's crop window as a player uses it, with the mouse and with the
// keyboard alone, and the reading of the pictures a photo is cut from.
#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "logic/club/account_fields.h"
#include "ui/club/photo_crop_window.h"
#include "ui/kit/quiz_button.h"
#include "window_input.h"
#include "window_test_support.h"

using vk::TFPhotoCrop;

namespace {

// A picture of W x H, its left half red and its right half blue.
QImage Halves(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter(&picture).fillRect(0, 0, width / 2, height, Qt::red);
    return picture;
}

QWidget* View(TFPhotoCrop& crop) { return testsupport::Find<QWidget>(crop, "ImageCrop"); }

// The crop window over a picture, as the card window opens it.
struct Cropping {
    explicit Cropping(const QImage& picture) : crop(prefs, background, picture) {}
    bool Shown()
    {
        crop.show();
        return QTest::qWaitForWindowExposed(&crop);
    }
    vk::Settings prefs;
    QImage background = testsupport::Background();
    TFPhotoCrop crop;
};

} // namespace

class PhotoCropTest : public QObject {
    Q_OBJECT
private slots:
    void theFrameStartsLargestAndCentredAndKeysMoveAndResizeIt()
    {
        Cropping cropping(Halves(1200, 1600));
        QVERIFY(cropping.Shown());
        TFPhotoCrop& crop = cropping.crop;
        QWidget* view = View(crop);
        QCOMPARE(crop.FrameRect(), QRect(0, 50, 1200, 1500));
        QVERIFY(view->hasFocus());
        QCOMPARE(view->accessibleName(), QStringLiteral("Выберите часть фото"));
        QVERIFY(view->accessibleDescription().contains(QStringLiteral("1200 x 1500")));
        testsupport::SaveGrab(crop, QStringLiteral("photo_crop_start"));

        // The picture is shown at 420 / 1600: a key moves the frame ten
        // screen pixels (38 of the picture's), with Shift one (4).
        input::Key(view, Qt::Key_Minus);
        QCOMPARE(crop.FrameRect(), QRect(60, 125, 1080, 1350));
        input::Key(view, Qt::Key_Right);
        QCOMPARE(crop.FrameRect().topLeft(), QPoint(98, 125));
        input::Key(view, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(crop.FrameRect().topLeft(), QPoint(98, 121));
        for (int k = 0; k < 20; ++k)
            input::Key(view, Qt::Key_Down);
        QCOMPARE(crop.FrameRect().topLeft(), QPoint(98, 250)); // stopped at the bottom
        input::Key(view, Qt::Key_Plus);
        QCOMPARE(crop.FrameRect(), QRect(12, 115, 1188, 1485)); // pushed back in
        QCOMPARE(crop.FrameRect().width() * 5, crop.FrameRect().height() * 4);
        QVERIFY(view->accessibleDescription().contains(QStringLiteral("1188 x 1485")));

        // Tab reaches the buttons, which read their captions.
        input::Key(view, Qt::Key_Tab);
        auto* done = testsupport::Find<vk::TTevQuizButton>(crop, "ButtonDone");
        QVERIFY(done->hasFocus());
        QCOMPARE(done->accessibleName(), QStringLiteral("Готово"));
        QCOMPARE(testsupport::Find<vk::TTevQuizButton>(crop, "ButtonCancel")->accessibleName(),
                 QStringLiteral("Отмена"));
    }

    void theMouseDragsTheFrameAndTheWheelResizesIt()
    {
        Cropping cropping(Halves(4000, 3000));
        QVERIFY(cropping.Shown());
        TFPhotoCrop& crop = cropping.crop;
        // 4000 x 3000 in 420 x 420: shown at 0.105.  Two notches towards
        // the player shrink the frame from 2400 x 3000 about its centre.
        input::Wheel(View(crop), -2);
        QCOMPARE(crop.FrameRect(), QRect(1028, 285, 1944, 2430));
        testsupport::SaveGrab(crop, QStringLiteral("photo_crop_smaller"));
        QWidget* view = View(crop);
        const QPoint from = view->rect().center();
        input::Press(view, Qt::LeftButton, from);
        input::Move(view, from + QPoint(21, -10));
        input::Move(view, from + QPoint(-42, 300)); // far below the picture
        input::Release(view, Qt::LeftButton, from + QPoint(-42, 300));
        QCOMPARE(crop.FrameRect(), QRect(628, 570, 1944, 2430));
        input::Move(view, from); // no button held: nothing moves
        QCOMPARE(crop.FrameRect().topLeft(), QPoint(628, 570));
        input::Wheel(view, 10);
        QCOMPARE(crop.FrameRect(), QRect(400, 0, 2400, 3000));
    }

    void returnTakesTheFrameAndEscapeGivesUp_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("Return") << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("Enter") << int(Qt::Key_Enter) << int(QDialog::Accepted);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
    }
    void returnTakesTheFrameAndEscapeGivesUp()
    {
        QFETCH(int, key);
        QFETCH(int, result);
        Cropping cropping(Halves(400, 500));
        TFPhotoCrop& crop = cropping.crop;
        testsupport::AnswerModal<TFPhotoCrop>([key](TFPhotoCrop* modal) {
            input::Focus(View(*modal));
            input::Key(View(*modal), static_cast<Qt::Key>(key));
        });
        QCOMPARE(crop.exec(), result);
    }

    void picturesThatCannotGiveAPhotoAreRefusedWithTheReason()
    {
        QTemporaryDir dir;
        const auto file = [&dir](const QString& name, const QByteArray& bytes) {
            QFile f(dir.filePath(name));
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
            return f.fileName();
        };
        const auto encoded = [](const QImage& picture, const char* format) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, format);
            return bytes;
        };
        // A JPEG whose header claims 9000 x 9000: refused before it is decoded.
        QByteArray huge = encoded(Halves(40, 50), "JPG");
        const int sof = huge.indexOf("\xFF\xC0");
        QVERIFY(sof > 0);
        huge.replace(sof + 5, 4, QByteArray("\x23\x28\x23\x28", 4));
        const QString unreadable = QStringLiteral("Этот файл — не картинка JPEG или PNG!");
        const struct {
            QString path;
            QString problem;
        } cases[] = {
            {dir.filePath(QStringLiteral("missing.jpg")), unreadable},
            {file(QStringLiteral("text.jpg"), "not a picture at all"), unreadable},
            {file(QStringLiteral("cut.png"), encoded(Halves(400, 500), "PNG").left(200)), unreadable},
            {file(QStringLiteral("picture.bmp"), encoded(Halves(400, 500), "BMP")), unreadable},
            {file(QStringLiteral("huge.jpg"), huge),
             QStringLiteral("Эта картинка слишком велика для фото: не больше 64 мегапикселей и 64 МБ!")},
            {file(QStringLiteral("strip.png"), encoded(Halves(3, 500), "PNG")),
             QStringLiteral("Эта картинка слишком мала для фото: нужно хотя бы 4 x 5 пикселей!")},
        };
        for (const auto& c : cases) {
            const vk::PhotoSourceRead read = vk::ReadPhotoSource(c.path);
            QCOMPARE(read.Problem, c.problem);
            QVERIFY(read.Picture.isNull());
        }
        // A PNG named as a JPEG is still a PNG.
        QCOMPARE(vk::ReadPhotoSource(file(QStringLiteral("png.jpg"), encoded(Halves(400, 500), "PNG"))).Picture.size(),
                 QSize(400, 500));
    }

    void aPhonePhotoIsTurnedAsTakenAndDecodedSmall()
    {
        // Stored 4000 x 3000, marked to be turned a quarter: the player sees
        // it upright, at the working size.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("phone.jpg"));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(Halves(4000, 3000).save(&buffer, "JPG"));
        // An Exif segment right after the start marker: orientation 6, a
        // quarter turn clockwise, as a phone held upright writes it.
        const char exif[] = "\xFF\xE1\x00\x22"
                            "Exif\0\0"
                            "II\x2A\x00\x08\x00\x00\x00"
                            "\x01\x00"
                            "\x12\x01\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00"
                            "\x00\x00\x00\x00";
        bytes.insert(2, QByteArray(exif, sizeof exif - 1));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const vk::PhotoSourceRead read = vk::ReadPhotoSource(path);
        QVERIFY(read.Problem.isEmpty());
        QVERIFY(read.Turned);
        QCOMPARE(read.Picture.size(), QSize(1800, 2400));
        // The red half, on the left as stored, is on top once turned.
        QVERIFY(QColor(read.Picture.pixel(900, 300)).red() > 200);
        QVERIFY(QColor(read.Picture.pixel(900, 2100)).blue() > 200);
    }

    void theCutPhotoIsTheClubsJpeg()
    {
        // Transparent parts become white, not black.
        QImage picture(1200, 1600, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        QPainter(&picture).fillRect(0, 800, 1200, 800, Qt::green);
        const auto bytes = vk::CutPhoto(picture, QRect(0, 50, 1200, 1500));
        QVERIFY(bytes);
        QVERIFY(vk::ClubPhotoAcceptable(*bytes));
        const QImage photo = QImage::fromData(QByteArray::fromStdString(*bytes), "JPG");
        QCOMPARE(photo.size(), QSize(200, 250));
        QVERIFY(QColor(photo.pixel(100, 40)).lightness() > 240);
        QVERIFY(QColor(photo.pixel(100, 210)).green() > 200);
        QVERIFY(QColor(photo.pixel(100, 210)).red() < 60);
        // Noise, the hardest thing to compress, still fits the club's size.
        QImage noise(200, 250, QImage::Format_RGB32);
        quint32 seed = 1;
        for (int y = 0; y < 250; ++y)
            for (int x = 0; x < 200; ++x)
                noise.setPixel(x, y, (seed = seed * 1664525u + 1013904223u) >> 8);
        const auto noisy = vk::CutPhoto(noise, noise.rect());
        QVERIFY(noisy);
        QVERIFY(noisy->size() <= vk::PhotoFileCap);
        QVERIFY(!vk::CutPhoto(noise, QRect(300, 300, 40, 50)));
    }
};

QTEST_MAIN(PhotoCropTest)
#include "photo_crop_test.moc"
