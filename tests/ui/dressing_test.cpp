#include <QApplication>
#include <QDirIterator>
#include <QRegularExpression>
#include <QMessageBox>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include "../fixtures/dressing/fixture_resources.h"
#include "ui/kit/animation_player.h"
#include "logic/looks/button_face.h"
#include "ui/kit/colour.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/resource_store.h"

using namespace vk;

namespace {

QTemporaryDir* fixtureFolder = nullptr;

// The fixture picture: a 4 x 4 PNG, its left half opaque red, its right
// half blue at alpha 128.
QImage SquareFixture()
{
    QImage image(4, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixelColor(x, y, x < 2 ? QColor(255, 0, 0, 255) : QColor(0, 0, 255, 128));
    return image;
}

QImage Canvas(int w, int h, QColor fill = Qt::white)
{
    QImage canvas(w, h, QImage::Format_RGB32);
    canvas.fill(fill);
    return canvas;
}

QList<QMessageBox*> MissingResourceBoxes()
{
    QCoreApplication::processEvents();
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            boxes << box;
    return boxes;
}

struct AskedName {
    ResourceKind Kind;
    QString Name;
    QString Where;
};

// Every call in the program's sources that hands a resource name to one of
// the operations taking one, with the name written out in the call.  The
// kind is the one the call states, or the one its operation reads.
QList<AskedName> NamesWrittenInCalls()
{
    const struct {
        const char* Function;
        ResourceKind Kind;
    } operations[] = {
        {"ResourceBytes", ResourceKind::Raw},
        {"ResourcePath", ResourceKind::Raw},
        {"DrawResPicture", ResourceKind::Raw},
        {"PlayWavRes", ResourceKind::Raw},
        {"LoadJpegRes", ResourceKind::Jpeg},
        {"LoadGifRes", ResourceKind::Gif},
        {"LoadGif", ResourceKind::Gif},
        // The intro's own helpers around the two above.
        {"DrawScaled", ResourceKind::Raw},
        {"StartAnimation", ResourceKind::Gif},
    };
    const struct {
        const char* Word;
        ResourceKind Kind;
    } kinds[] = {{"ResourceKind::Raw", ResourceKind::Raw},
                 {"ResourceKind::Gif", ResourceKind::Gif},
                 {"ResourceKind::Jpeg", ResourceKind::Jpeg},
                 {"ResourceKind::Any", ResourceKind::Any},
                 {"ResourceKind::Flags", ResourceKind::Flags}};
    const QRegularExpression literal(QStringLiteral("\"([^\"\\\\]+)\""));

    QList<AskedName> found;
    const QDir root(QStringLiteral(VOKABRON_FIXTURE_DIR "/../.."));
    for (const char* folder : {"logic", "ui"}) {
        QDirIterator it(root.filePath(QString::fromLatin1(folder)), {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString text = QString::fromUtf8(fixture::ReadFile(path));
            for (const auto& op : operations) {
                const QRegularExpression call(QStringLiteral("\\b%1\\s*\\(").arg(QLatin1String(op.Function)));
                for (auto m = call.globalMatch(text); m.hasNext();) {
                    // The arguments, up to the parenthesis that closes the call.
                    const auto match = m.next();
                    qsizetype end = match.capturedEnd();
                    for (int depth = 1; end < text.size() && depth > 0; ++end)
                        depth += text[end] == QLatin1Char('(') ? 1 : text[end] == QLatin1Char(')') ? -1 : 0;
                    const QString arguments = text.mid(match.capturedEnd(), end - match.capturedEnd());
                    const auto name = literal.match(arguments);
                    if (!name.hasMatch())
                        continue;
                    ResourceKind kind = op.Kind;
                    for (const auto& k : kinds)
                        if (arguments.contains(QLatin1String(k.Word)))
                            kind = k.Kind;
                    const int line = static_cast<int>(text.left(match.capturedStart()).count(QLatin1Char('\n'))) + 1;
                    found << AskedName{kind, name.captured(1),
                                       root.relativeFilePath(path) + QLatin1Char(':') + QString::number(line)};
                }
            }
        }
    }
    return found;
}

QStringList warnings;
void CollectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg)
        warnings << text;
}

// A font whose glyphs have plain edges, so that pictures compare exactly.
QFont PlainFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

class DressingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        fixtureFolder = new QTemporaryDir;
        QVERIFY(fixtureFolder->isValid());
        QImage jpeg(8, 8, QImage::Format_RGB32);
        jpeg.fill(QColor(40, 160, 80));
        const QList<QColor> frames = {Qt::red, Qt::green, Qt::blue};
        const QString problem = fixture::Register(
            {
                {"/raw", "DrFixSquare", fixture::Encode(SquareFixture(), "PNG")},
                {"/raw", "DrFixNotAPicture", QByteArray("not a picture at all")},
                {"/jpeg", "DrFixJpeg", fixture::Encode(jpeg, "JPG")},
                {"/gif", "DrFixOnce", fixture::MakeGif(6, 4, frames, 2, false)},
            },
            *fixtureFolder);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void cleanupTestCase() { delete fixtureFolder; }

    void namesAreFoundInAnyCase()
    {
        const auto exact = ResourceBytes(ResourceKind::Raw, QStringLiteral("DrFixSquare"));
        QVERIFY(exact);
        for (const char* name : {"drfixsquare", "DRFIXSQUARE", "dRfIxSqUaRe"}) {
            const auto found = ResourceBytes(ResourceKind::Raw, QString::fromLatin1(name));
            QVERIFY2(found && *found == *exact, name);
        }
        // Each kind is a store of its own.
        QVERIFY(!HasResource(ResourceKind::Gif, QStringLiteral("DrFixSquare")));
        QVERIFY(HasResource(ResourceKind::Gif, QStringLiteral("drfixonce")));
    }

    void aMissingNameIsReportedOnceAndTheProgramRunsOn()
    {
        warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(CollectWarnings);
        {
            QImage canvas = Canvas(10, 10);
            QPainter p(&canvas);
            QVERIFY(!ResourceBytes(ResourceKind::Raw, QStringLiteral("NoSuchPicture")));
            QVERIFY(!ResourcePath(ResourceKind::Raw, QStringLiteral("nosuchpicture")));
            QVERIFY(!DrawResPicture(QStringLiteral("NOSUCHPICTURE"), p, 0, 0, 5, 5, true));
            QVERIFY(!DrawResPicture(QStringLiteral("NoSuchPicture"), p, 0, 0, 0, 0, false));
            p.end();
            QCOMPARE(canvas, Canvas(10, 10)); // nothing drawn
        }
        qInstallMessageHandler(previous);
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings[0].contains(QStringLiteral("NoSuchPicture")));

        auto boxes = MissingResourceBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0]->text(), QStringLiteral("Не найден ресурс программы: NoSuchPicture"));
        QCOMPARE(boxes[0]->icon(), QMessageBox::Critical);
        boxes[0]->close();

        // Asked for again later: still no second report.
        QVERIFY(!ResourceBytes(ResourceKind::Raw, QStringLiteral("NoSuchPicture")));
        QVERIFY(MissingResourceBoxes().isEmpty());

        // A missing animation or background: the same report, once per name.
        AnimationPlayer player;
        QVERIFY(!LoadGifRes(QStringLiteral("NoSuchAnimation"), player));
        QVERIFY(!player.HasAnimation());
        QImage picture(3, 3, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        QVERIFY(!LoadJpegRes(QStringLiteral("NoSuchAnimation"), picture));
        QCOMPARE(picture.pixelColor(1, 1), QColor(Qt::yellow));
        boxes = MissingResourceBoxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0]->text().endsWith(QStringLiteral("NoSuchAnimation")));
        boxes[0]->close();
    }

    void naturalSizeIgnoresTheSizeAndBlendsByAlpha()
    {
        QImage canvas = Canvas(10, 10);
        {
            QPainter p(&canvas);
            QVERIFY(DrawResPicture(QStringLiteral("drfixsquare"), p, 2, 3, 100, 1, false));
        }
        const QColor white(255, 255, 255);
        const QColor red(255, 0, 0);
        const QColor blueOverWhite(127, 127, 255);
        const struct {
            int X, Y;
            QColor Colour;
        } expected[] = {
            {1, 3, white},         {2, 2, white},         {2, 3, red},   {3, 6, red},
            {4, 3, blueOverWhite}, {5, 6, blueOverWhite}, {6, 3, white}, {5, 7, white},
        };
        for (const auto& e : expected)
            QVERIFY2(qAbs(canvas.pixelColor(e.X, e.Y).red() - e.Colour.red()) <= 1
                         && qAbs(canvas.pixelColor(e.X, e.Y).green() - e.Colour.green()) <= 1
                         && canvas.pixelColor(e.X, e.Y).blue() == e.Colour.blue(),
                     qPrintable(QStringLiteral("(%1, %2)").arg(e.X).arg(e.Y)));
    }

    void scaledToItsOwnSizeIsDrawnUnchanged()
    {
        QImage natural = Canvas(8, 8);
        QImage scaled = Canvas(8, 8);
        {
            QPainter p(&natural);
            QVERIFY(DrawResPicture(QStringLiteral("DrFixSquare"), p, 1, 1, 0, 0, false));
            QPainter q(&scaled);
            QVERIFY(DrawResPicture(QStringLiteral("DrFixSquare"), q, 1, 1, 4, 4, true));
        }
        QCOMPARE(scaled, natural);
    }

    void scaledToAnotherSizeAveragesTheArea()
    {
        QImage canvas = Canvas(12, 12, Qt::black);
        {
            QPainter p(&canvas);
            QVERIFY(DrawResPicture(QStringLiteral("DrFixSquare"), p, 0, 0, 2, 2, true));
            QVERIFY(DrawResPicture(QStringLiteral("DrFixSquare"), p, 2, 4, 8, 8, true));
            // Three columns from four: the middle one takes half a red
            // and half a blue column.
            QVERIFY(DrawResPicture(QStringLiteral("DrFixSquare"), p, 0, 2, 3, 1, true));
        }
        // Halved: one red, one blue pixel per row; the rest untouched.
        QCOMPARE(canvas.pixelColor(0, 0), QColor(255, 0, 0));
        QCOMPARE(canvas.pixelColor(1, 1).red(), 0);
        QVERIFY(qAbs(canvas.pixelColor(1, 1).blue() - 128) <= 1);
        QCOMPARE(canvas.pixelColor(2, 0), QColor(Qt::black));
        // Doubled: blocks of 4 x 4.
        QCOMPARE(canvas.pixelColor(2, 4), QColor(255, 0, 0));
        QCOMPARE(canvas.pixelColor(5, 11), QColor(255, 0, 0));
        QCOMPARE(canvas.pixelColor(6, 4).red(), 0);
        QVERIFY(qAbs(canvas.pixelColor(9, 11).blue() - 128) <= 1);
        // The middle column: red at alpha 255 and blue at 128 in equal
        // parts give alpha 191.5 -> 192, red 255 x 255 / 383 -> 170 and
        // blue 255 x 128 / 383 -> 85, over black about 128 and 64.
        const QColor middle = canvas.pixelColor(1, 2);
        QVERIFY2(qAbs(middle.red() - 128) <= 1 && qAbs(middle.blue() - 64) <= 1, qPrintable(middle.name()));
    }

    void somethingThatIsNoPictureDrawsNothing()
    {
        QImage canvas = Canvas(6, 6);
        {
            QPainter p(&canvas);
            QVERIFY(!DrawResPicture(QStringLiteral("DrFixNotAPicture"), p, 0, 0, 0, 0, false));
            QVERIFY(!DrawResPicture(QStringLiteral("DrFixNotAPicture"), p, 0, 0, 3, 3, true));
            QVERIFY(!DrawResPicture(QStringLiteral("DrFixSquare"), p, 0, 0, 0, 3, true));
        }
        QCOMPARE(canvas, Canvas(6, 6));
        QVERIFY(MissingResourceBoxes().isEmpty()); // present, so not reported missing
    }

    void formBackgroundShowsThePieceUnderAnArea()
    {
        // Every pixel of the window-sized background tells where it lies.
        QImage background(700, 500, QImage::Format_RGB32);
        for (int y = 0; y < 500; ++y)
            for (int x = 0; x < 700; ++x)
                background.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
        QImage area = Canvas(200, 150);
        {
            QPainter p(&area);
            PaintFormBackground(p, background, 20, 30, 700, 500);
        }
        for (const QPoint at : {QPoint(0, 0), QPoint(199, 149), QPoint(57, 3), QPoint(180, 100)})
            QCOMPARE(area.pixel(at), background.pixel(at + QPoint(20, 30)));

        // A background of another size is stretched over the same rectangle
        // (-20, -30, 680, 470): here twice as large, so window column 200,
        // the background's column 100, lands on the area's columns 180, 181.
        QImage half(350, 250, QImage::Format_RGB32);
        half.fill(Qt::black);
        for (int y = 0; y < 250; ++y)
            half.setPixel(100, y, qRgb(255, 255, 255));
        area.fill(Qt::blue);
        {
            QPainter p(&area);
            PaintFormBackground(p, half, 20, 30, 700, 500);
        }
        for (int x = 175; x < 186; ++x)
            QCOMPARE(area.pixelColor(x, 70), x == 180 || x == 181 ? QColor(Qt::white) : QColor(Qt::black));

        // The window's own paint: 0, 0 and the client size cover it whole.
        QImage window = Canvas(700, 500, Qt::blue);
        {
            QPainter p(&window);
            PaintFormBackground(p, background, 0, 0, 700, 500);
        }
        QCOMPARE(window, background);
    }

    void shadowColourIsHalfTheColourRoundedToEven()
    {
        const struct {
            QColor Colour, Shadow;
        } cases[] = {
            {QColor(255, 255, 0), QColor(128, 128, 0)}, // 127.5 -> 128
            {QColor(1, 3, 5), QColor(0, 2, 2)},         // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2
            {QColor(255, 255, 255), QColor(128, 128, 128)},
            {QColor(0, 0, 0), QColor(0, 0, 0)},
            {QColor(9, 10, 11), QColor(4, 5, 6)},
        };
        for (const auto& c : cases)
            QCOMPARE(ToQColor(ShadowColour(FromQColor(c.Colour))), c.Shadow);
    }

    void shadowTextIsWrittenByItsAlignment()
    {
        const QString text = QStringLiteral("Вокаброн");
        const unsigned int colour = FromQColor(QColor(255, 255, 0));
        const int x1 = 20;
        const int x2 = 180;
        const int y = 10;
        QImage measure(1, 1, QImage::Format_RGB32);
        QPainter m(&measure);
        m.setFont(PlainFont());
        const int width = m.fontMetrics().horizontalAdvance(text);
        const int ascent = m.fontMetrics().ascent();
        m.end();

        const struct {
            char Align;
            int TextX; // -1: nothing written
        } cases[] = {
            {'l', x1}, {'c', x1 + (x2 - x1 - width) / 2}, {'r', x2 - width}, {'x', -1}, {'L', -1},
        };
        for (const auto& c : cases) {
            QImage drawn = Canvas(220, 50, Qt::black);
            QPainter p(&drawn);
            p.setFont(PlainFont());
            p.setPen(Qt::red);
            TextOutShadow(text, x1, x2, y, p, colour, c.Align);
            QCOMPARE(p.pen().color(), QColor(255, 255, 0));
            p.end();

            QImage expected = Canvas(220, 50, Qt::black);
            if (c.TextX >= 0) {
                QPainter e(&expected);
                e.setFont(PlainFont());
                e.setPen(QColor(128, 128, 0));
                e.drawText(c.TextX + 1, y + 1 + ascent, text);
                e.setPen(QColor(255, 255, 0));
                e.drawText(c.TextX, y + ascent, text);
            }
            QVERIFY2(drawn == expected, QByteArray(1, c.Align).constData());
        }
    }

    void centredTextWiderThanItsSpanStartsLeftOfIt()
    {
        const QString text = QStringLiteral("Широкий текст");
        QImage probe(1, 1, QImage::Format_RGB32);
        QPainter m(&probe);
        m.setFont(PlainFont());
        const int width = m.fontMetrics().horizontalAdvance(text);
        const int ascent = m.fontMetrics().ascent();
        m.end();
        // A span narrower than the text by an odd amount: the offset
        // -excess/2 truncates toward zero, one pixel right of the floor.
        const int x1 = 60;
        const int excess = (width / 2) | 1;
        const int x2 = x1 + width - excess;
        const int expectedX = x1 - excess / 2;

        auto draw = [&](auto write) {
            QImage canvas = Canvas(260, 40);
            QPainter p(&canvas);
            p.setFont(PlainFont());
            p.setPen(Qt::black);
            write(p);
            return canvas;
        };
        const QImage centred = draw([&](QPainter& p) { TextOutCentred(text, x1, x2, 5, p); });
        QVERIFY(expectedX < x1);
        QCOMPARE(centred, draw([&](QPainter& p) { p.drawText(expectedX, 5 + ascent, text); }));
        QVERIFY(centred != draw([&](QPainter& p) { p.drawText(expectedX - 1, 5 + ascent, text); }));

        const QImage right = draw([&](QPainter& p) { TextOutRight(text, 250, 5, p); });
        QCOMPARE(right, draw([&](QPainter& p) { p.drawText(250 - width, 5 + ascent, text); }));
    }

    void bevelFrameLinesFallWhereListed()
    {
        // Frame (2, 3) - (30, 25) on green, drawn with a red pen whose own
        // outline the white lines must cover completely.
        QImage canvas = Canvas(40, 30, Qt::green);
        {
            QPainter p(&canvas);
            p.setPen(Qt::red);
            p.setBrush(Qt::yellow);
            DrawBevelFrame(2, 3, 30, 25, p);
            QCOMPARE(p.pen().color(), QColor(Qt::red));
            QCOMPARE(p.brush().color(), QColor(Qt::yellow));
        }
        const QColor W(255, 255, 255), B(0, 0, 0), S(192, 192, 192), G(Qt::green);
        const struct {
            int X, Y;
            QColor Colour;
        } expected[] = {
            // Outer edge: white top and left, black bottom and right; the
            // black lines start one and two pixels in.
            {2, 3, W},
            {29, 3, W},
            {30, 3, B},
            {2, 25, W},
            {3, 25, B},
            {30, 25, B},
            {3, 4, W},
            {3, 24, W},
            {4, 24, B},
            {29, 4, B},
            {28, 4, W},
            {29, 24, B},
            // Silver between the edges and inside.
            {4, 5, S},
            {6, 10, S},
            {27, 12, S},
            {15, 22, S},
            {10, 12, S},
            // Inner edge: black outlines at 5 and 6 in, white ticks over
            // their bottom and right.
            {7, 8, B},
            {25, 8, B},
            {7, 20, B},
            {8, 9, B},
            {8, 19, B},
            {24, 9, B},
            {8, 20, W},
            {25, 20, W},
            {9, 19, W},
            {24, 19, W},
            {25, 9, W},
            {24, 10, W},
            // Outside stays as it was.
            {1, 3, G},
            {31, 3, G},
            {2, 2, G},
            {2, 26, G},
            {31, 26, G},
        };
        for (const auto& e : expected)
            QVERIFY2(
                canvas.pixelColor(e.X, e.Y) == e.Colour,
                qPrintable(QStringLiteral("(%1, %2) is %3").arg(e.X).arg(e.Y).arg(canvas.pixelColor(e.X, e.Y).name())));
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                QVERIFY(canvas.pixelColor(x, y) != QColor(Qt::red) && canvas.pixelColor(x, y) != QColor(Qt::yellow));
    }

    void jpegResourceIsDecoded()
    {
        QImage picture;
        QVERIFY(LoadJpegRes(QStringLiteral("drfixjpeg"), picture));
        QCOMPARE(picture.size(), QSize(8, 8));
        const QColor c = picture.pixelColor(4, 4);
        QVERIFY(qAbs(c.red() - 40) <= 3 && qAbs(c.green() - 160) <= 3 && qAbs(c.blue() - 80) <= 3);
    }

    void animationLoopsEvenWithoutALoopCount()
    {
        AnimationPlayer player;
        QVERIFY(LoadGifRes(QStringLiteral("DrFixOnce"), player));
        QCOMPARE(player.FrameCount(), 3);
        QCOMPARE(player.size(), QSize(6, 4));
        QList<int> frames;
        connect(&player, &AnimationPlayer::frameChanged, this, [&](int frame) { frames << frame; });
        // Played once it would stop at frame 2; looping it comes round to
        // frame 1 again.
        QTRY_VERIFY_WITH_TIMEOUT(frames.size() >= 6, 5000);
        const int firstEnd = frames.indexOf(2);
        QVERIFY(firstEnd >= 0);
        QVERIFY(frames.indexOf(1, firstEnd) > firstEnd);

        // The widget shows the frame being played.
        const QImage shown = player.grab().toImage();
        const QColor c = shown.pixelColor(3, 2);
        QVERIFY(c == QColor(Qt::red) || c == QColor(Qt::green) || c == QColor(Qt::blue));
    }

    void animationCanBeClearedFromItsOwnFrameSignal()
    {
        // The intro drops an animation from inside its frame report; the
        // movie must outlive its own signal and the player must load again.
        AnimationPlayer player;
        int cleared = 0;
        const auto clearing = connect(&player, &AnimationPlayer::frameChanged, this, [&](int frame) {
            if (frame == 1 && player.HasAnimation()) {
                player.Clear();
                ++cleared;
            }
        });
        QVERIFY(LoadGifRes(QStringLiteral("DrFixOnce"), player));
        QTRY_COMPARE_WITH_TIMEOUT(cleared, 1, 5000);
        QVERIFY(!player.HasAnimation());
        QVERIFY(LoadGifRes(QStringLiteral("DrFixOnce"), player));
        QTRY_COMPARE_WITH_TIMEOUT(cleared, 2, 5000);

        // Stopping keeps the animation where it is.
        disconnect(clearing);
        QVERIFY(LoadGifRes(QStringLiteral("DrFixOnce"), player));
        player.Stop();
        QVERIFY(player.HasAnimation());
    }

    void pictureControlKeepsWhatIsDrawn()
    {
        PictureBox box;
        box.resize(20, 10);
        box.ResizeCanvas(20, 10);
        {
            QPainter p(&box.Canvas());
            DrawBevelFrame(0, 0, 19, 9, p);
        }
        const QImage before = box.Canvas().copy(0, 0, 20, 10);
        box.resize(30, 15); // growing keeps the drawing
        box.ResizeCanvas(30, 15);
        QCOMPARE(box.Canvas().copy(0, 0, 20, 10), before);
        QCOMPARE(box.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(0, 0, 20, 10),
                 before.convertToFormat(QImage::Format_RGB32));
    }

    void everyNameTheCodeAsksForIsInTheStore()
    {
        QList<AskedName> asked = NamesWrittenInCalls();
        // The scan must keep finding calls as the code changes shape.
        QStringList scanned;
        for (const auto& a : asked)
            scanned << a.Name;
        for (const char* name : {"BG", "GZastNew1", "GZastNew4", "Caption"})
            QVERIFY2(scanned.contains(QLatin1String(name)), name);

        // Names the code puts together or keeps in lists of its own.
        for (const char* name : {"DATA01", "DATA02", "SZastNew1", "SZastNew2", "S_FiBad", "S_FiGut", "MMusic"})
            asked << AskedName{ResourceKind::Raw, QString::fromLatin1(name), QStringLiteral("lists")};
        asked << AskedName{ResourceKind::Any, QStringLiteral("OLDCYRBOLD"), QStringLiteral("audio")};
        for (FaceSet set : {FaceSet::B29, FaceSet::B44, FaceSet::B59})
            for (FacePart part : {FacePart::Left, FacePart::Right, FacePart::Body})
                for (bool lit : {false, true})
                    asked << AskedName{ResourceKind::Raw, QString::fromStdString(FacePictureName(set, part, lit)),
                                       QStringLiteral("button faces")};

        QStringList missing;
        for (const auto& a : asked)
            if (!HasResource(a.Kind, a.Name))
                missing << a.Name + QStringLiteral(" (") + a.Where + QLatin1Char(')');
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }

    // Not a check: a picture of the dressing operations, written to the
    // build folder for a person to look at.
    void sampleForTheEye()
    {
        QImage sample(360, 200, QImage::Format_RGB32);
        sample.fill(QColor(40, 60, 90));
        {
            QPainter p(&sample);
            DrawBevelFrame(10, 10, 350, 190, p);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(20);
            p.setFont(font);
            p.fillRect(30, 30, 300, 90, QColor(20, 30, 50));
            TextOutShadow(QStringLiteral("Слева"), 40, 320, 34, p, FromQColor(QColor(255, 255, 0)), 'l');
            TextOutShadow(QStringLiteral("По центру"), 40, 320, 62, p, FromQColor(QColor(0, 255, 255)), 'c');
            TextOutShadow(QStringLiteral("Справа"), 40, 320, 90, p, FromQColor(QColor(255, 128, 64)), 'r');
            DrawResPicture(QStringLiteral("DrFixSquare"), p, 40, 130, 0, 0, false);
            DrawResPicture(QStringLiteral("DrFixSquare"), p, 60, 130, 40, 40, true);
            DrawResPicture(QStringLiteral("DrFixSquare"), p, 120, 130, 30, 40, true);
        }
        const QString folder = QStringLiteral(VOKABRON_BUILD_DIR "/artifacts");
        QDir().mkpath(folder);
        QVERIFY(sample.scaled(720, 400).save(folder + QStringLiteral("/dressing.png")));
    }
};

QTEST_MAIN(DressingTest)
#include "dressing_test.moc"
