#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <vector>

#include "logic/localdata/settings.h"
#include "ui/kit/audio.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"

using namespace vk;

namespace {

constexpr QRgb kBackground = qRgb(0, 0, 64);

// Fixture faces: flat opaque pictures of the stated sizes whose red level
// tells the part (left 200, right 150, body 100; lit ones 50 more).  The
// caps' outer top corner is transparent.
int FixtureRed(FacePart part, bool lit)
{
    static constexpr int kRed[] = {200, 150, 100};
    return kRed[static_cast<int>(part)] + (lit ? 50 : 0);
}

std::optional<QByteArray> FixtureFace(const QString& name)
{
    const QStringList pieces = name.split(QLatin1Char('_'));
    if (pieces.size() != 2)
        return std::nullopt;
    const int height = pieces[0] == QLatin1String("B29") ? 29 : pieces[0] == QLatin1String("B44") ? 44 : 59;
    const int capWidth = height == 29 ? 15 : height == 44 ? 24 : 30;
    QString partName = pieces[1];
    const bool lit = partName.endsWith(QLatin1Char('L'));
    if (lit)
        partName.chop(1);
    const FacePart part = partName == QLatin1String("Left")    ? FacePart::Left
                          : partName == QLatin1String("Right") ? FacePart::Right
                                                               : FacePart::Body;
    QImage picture(part == FacePart::Body ? 1 : capWidth, height, QImage::Format_RGBA8888);
    picture.fill(QColor(FixtureRed(part, lit), 0, 0));
    if (part == FacePart::Left)
        picture.setPixelColor(0, 0, Qt::transparent);
    if (part == FacePart::Right)
        picture.setPixelColor(capWidth - 1, 0, Qt::transparent);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

// A window with a plain background holding one button, and a line edit to
// take the focus away from it (shown windows focus their first button).
struct Host {
    QWidget window;
    TTevQuizButton* button;
    QLineEdit* focusSink;

    explicit Host(int width = 100, int height = 30)
    {
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, QColor(kBackground));
        window.setPalette(pal);
        window.setAutoFillBackground(true);
        window.resize(width + 40, height + 40);
        button = new TTevQuizButton(&window);
        button->setGeometry(20, 20, width, height);
        focusSink = new QLineEdit(&window);
        focusSink->setGeometry(0, 0, 10, 10);
        focusSink->setFocus();
    }

    bool Show()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    // What the screen shows over the button.
    QImage Shot() { return window.grab(button->geometry()).toImage().convertToFormat(QImage::Format_RGB32); }
};

void Hover(QWidget* w, bool in)
{
    if (in) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(w, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(w, &leave);
    }
}

// The pixel a fixture part shows after the variant and the lightening.
QRgb Expected(FacePart part, bool lit, TColorSB variant, unsigned char lightening)
{
    std::uint8_t px[4] = {std::uint8_t(FixtureRed(part, lit)), 0, 0, 255};
    RecolourRgba(px, 1, variant, lightening);
    return qRgb(px[0], px[1], px[2]);
}

bool Contains(const QImage& image, const QRect& area, QRgb colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}

} // namespace

class QuizButtonTest : public QObject {
    Q_OBJECT
private slots:
    void init() { TTevQuizButton::SetFacePictureLoader(FixtureFace); }
    void cleanupTestCase() { TTevQuizButton::SetFacePictureLoader({}); }

    void defaultsAfterConstruction()
    {
        TTevQuizButton b;
        QCOMPARE(b.size(), QSize(100, 30));
        QCOMPARE(b.ColorSB(), DRed);
        QCOMPARE(b.ColorMouse(), 0u);
        QCOMPARE(b.LightFont(), false);
        QCOMPARE(b.LightRect(), false);
        QCOMPARE(b.GrayDis(), false);
        QCOMPARE(b.HeightSB(), D30);
        QCOMPARE(b.KLightSB(), (unsigned char)0);
        QCOMPARE(b.Kontur(), true);
        QCOMPARE(b.FontColor(), 0u);
        QCOMPARE(b.Layout(), blGlyphLeft);
        QCOMPARE(b.Margin(), -1);
        QCOMPARE(b.IsFocused(), false);
        QCOMPARE(b.MouseInPos(), false);
        QVERIFY(!b.OnDrawButton());
        QVERIFY(!b.Canvas());
    }

    void heightSelector()
    {
        TTevQuizButton b;
        b.resize(100, 37);
        b.SetHeightSB(D30); // the current value: the height stays
        QCOMPARE(b.height(), 37);
        b.SetHeightSB(D60);
        QCOMPARE(b.size(), QSize(100, 60));
        b.resize(100, 50);
        b.SetHeightSB(D60);
        QCOMPARE(b.height(), 50);
        b.SetHeightSB(D45);
        QCOMPARE(b.height(), 45);
    }

    void faceIsComposedFromTheThreePicturesInTheVariant()
    {
        struct Case {
            TColorSB variant;
            unsigned char lightening;
        };
        const Case cases[] = {{DRed, 0}, {DRed, 50}, {DGreen, 0}, {DNavy, 0}, {DOrang, 20}, {DGreen, 0}};
        // One button goes through every case, so a stale decoded face would show.
        Host host;
        for (const Case& c : cases) {
            const QByteArray what = QByteArray::number(int(c.variant)) + " k " + QByteArray::number(c.lightening);
            host.button->SetColorSB(c.variant);
            host.button->SetKLightSB(c.lightening);
            const QImage shot = host.Shot();
            const auto face = [&](FacePart part) { return Expected(part, false, c.variant, c.lightening); };
            QVERIFY2(shot.pixel(0, 0) == kBackground, what); // the cap's transparent corner
            QVERIFY2(shot.pixel(1, 0) == face(FacePart::Left), what);
            QVERIFY2(shot.pixel(14, 28) == face(FacePart::Left), what);
            QVERIFY2(shot.pixel(15, 10) == face(FacePart::Body), what);
            QVERIFY2(shot.pixel(84, 10) == face(FacePart::Body), what); // over the right cap
            QVERIFY2(shot.pixel(85, 10) == face(FacePart::Right), what);
            QVERIFY2(shot.pixel(98, 28) == face(FacePart::Right), what);
            QVERIFY2(shot.pixel(98, 0) == kBackground, what);
            // The last column and row stay free for the pressed shift.
            QVERIFY2(shot.pixel(99, 10) == kBackground, what);
            QVERIFY2(shot.pixel(50, 29) == kBackground, what);
        }
    }

    void nonStandardHeightScalesTheCaps()
    {
        Host host(100, 25);
        const QImage shot = host.Shot();
        // c = round(12.5) = 12: the left cap ends at column 11.
        QCOMPARE(shot.pixel(11, 12), Expected(FacePart::Left, false, DRed, 0));
        QCOMPARE(shot.pixel(12, 12), Expected(FacePart::Body, false, DRed, 0));
        QCOMPARE(shot.pixel(50, 24), kBackground);
    }

    void pressedShiftsEverythingByOnePixel()
    {
        Host host;
        QFont f = host.button->font();
        f.setPixelSize(16);
        host.button->setFont(f);
        host.button->setText(QStringLiteral("Дальше"));
        host.button->SetFontColor(0xFFFFFF);
        const QImage up = host.Shot();
        host.button->setDown(true);
        QVERIFY(host.button->StateBits() & kStateSelected);
        const QImage down = host.Shot();
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 99; ++x)
                QCOMPARE(down.pixel(x + 1, y + 1), up.pixel(x, y));
        for (int i = 0; i < 30; ++i) {
            QCOMPARE(down.pixel(0, i), kBackground);
            QCOMPARE(down.pixel(i, 0), kBackground);
        }
    }

    void hoverAndFocusLooks_data()
    {
        QTest::addColumn<bool>("lightRect");
        QTest::addColumn<bool>("hover");
        QTest::addColumn<bool>("focus");
        QTest::addColumn<bool>("lit");
        QTest::addColumn<bool>("contour");
        QTest::newRow("normal") << false << false << false << false << false;
        QTest::newRow("hover without LightRect") << false << true << false << false << false;
        QTest::newRow("focus without LightRect") << false << false << true << false << true;
        QTest::newRow("hover with LightRect") << true << true << false << true << false;
        QTest::newRow("focus with LightRect") << true << false << true << true << false;
    }
    void hoverAndFocusLooks()
    {
        QFETCH(bool, lightRect);
        QFETCH(bool, hover);
        QFETCH(bool, focus);
        QFETCH(bool, lit);
        QFETCH(bool, contour);
        Host host;
        QVERIFY(host.Show());
        TTevQuizButton& b = *host.button;
        b.SetLightRect(lightRect);
        b.SetColorSB(DGreen);
        if (focus) {
            b.setFocus();
            QVERIFY(b.hasFocus());
            QVERIFY(b.IsFocused());
        }
        Hover(&b, hover);
        QCOMPARE(b.MouseInPos(), hover);
        const QImage shot = host.Shot();
        QCOMPARE(shot.pixel(1, 10), Expected(FacePart::Left, lit, DGreen, 0));
        // The contour's left edge: t = round(15 / 2) + 1 = 9, from y = 5.
        const QRgb contourColour = qRgb(200, 200, 255);
        QCOMPARE(shot.pixel(9, 15) == contourColour, contour);
        QCOMPARE(shot.pixel(50, 5) == contourColour, contour);
        Hover(&b, false);
        QCOMPARE(b.MouseInPos(), false);
    }

    void pressedContourMovesWithTheFace()
    {
        Host host;
        QVERIFY(host.Show());
        host.button->setFocus();
        host.button->setDown(true);
        const QImage shot = host.Shot();
        const QRgb contourColour = qRgb(255, 200, 200);
        QCOMPARE(shot.pixel(10, 15), contourColour);
        QVERIFY(shot.pixel(9, 15) != contourColour);
        QCOMPARE(shot.pixel(50, 6), contourColour);
    }

    void activeButtonFollowsTheFocus()
    {
        Host host;
        auto* other = new TTevQuizButton(&host.window);
        other->setGeometry(20, 55, 100, 30);
        QLineEdit* edit = host.focusSink;
        host.window.resize(200, 100);
        host.button->setDefault(true);
        QVERIFY(host.Show());

        other->setFocus();
        QVERIFY(other->IsFocused());
        QVERIFY(!host.button->IsFocused()); // another button has the focus
        edit->setFocus();
        QVERIFY(!other->IsFocused());
        QVERIFY(host.button->IsFocused()); // the default button, no button focused
        QVERIFY(!(host.button->StateBits() & kStateFocus));
        // Active without the focus itself: no contour.
        const QImage shot = host.Shot();
        QVERIFY(shot.pixel(9, 15) != qRgb(255, 200, 200));
        host.button->setFocus();
        QVERIFY(host.button->IsFocused());
    }

    void captionColours()
    {
        Host host;
        TTevQuizButton& b = *host.button;
        QFont f = b.font();
        f.setPixelSize(22);
        f.setBold(true);
        b.setFont(f);
        b.setText(QStringLiteral("ШШШ"));
        b.SetFontColor(0xFFFFFF);
        b.SetColorMouse(0x00FFFF);
        b.SetLightFont(true);
        b.SetGrayDis(true);
        const QRect captionArea(20, 2, 60, 26);
        const QRgb white = qRgb(255, 255, 255), yellow = qRgb(255, 255, 0), silver = qRgb(192, 192, 192);

        QImage shot = host.Shot();
        QVERIFY(Contains(shot, captionArea, white));
        QVERIFY(!Contains(shot, captionArea, yellow));

        Hover(&b, true);
        shot = host.Shot();
        QVERIFY(Contains(shot, captionArea, yellow));
        QVERIFY(!Contains(shot, captionArea, white));

        b.setEnabled(false); // disabled, hovered, LightFont, GrayDis: silver
        shot = host.Shot();
        QVERIFY(Contains(shot, captionArea, silver));
        QVERIFY(!Contains(shot, captionArea, yellow));

        b.SetGrayDis(false); // disabled without GrayDis: the font colour, not the hover colour
        shot = host.Shot();
        QVERIFY(Contains(shot, captionArea, white));
        QVERIFY(!Contains(shot, captionArea, yellow));
    }

    // In the display font the capitals of a caption sit just above the
    // face's middle (the caption rectangle is raised by two pixels), at the
    // heights and font sizes of the smallest and the largest window: never up
    // under the gloss, as when they were centred by the font's declared
    // ascent, which is no taller than its capitals.
    void captionCapitalsSitJustAboveTheMiddle()
    {
        QTemporaryDir folder;
        QVERIFY(InstallOwnFont(folder.path().toStdString() + "/"));
        struct Case {
            int height, pixels;
        };
        const Case cases[] = {{30, 20}, {30, 22}, {45, 30}, {60, 40}};
        for (const Case& c : cases) {
            Host host(120, c.height);
            TTevQuizButton& b = *host.button;
            QFont f(QString::fromLatin1(OwnFontName));
            f.setPixelSize(c.pixels);
            f.setBold(true);
            b.setFont(f);
            b.setText(QStringLiteral("Коны")); // one capital, no tails below the line
            b.SetFontColor(0xFFFFFF);
            const QImage shot = host.Shot();
            int top = -1, bottom = -1;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    if (qGreen(shot.pixel(x, y)) > 128) {
                        top = top < 0 ? y : top;
                        bottom = y;
                    }
            const QString where =
                QStringLiteral("height %1, font %2: capitals %3..%4").arg(c.height).arg(c.pixels).arg(top).arg(bottom);
            QVERIFY2(top >= 0, qPrintable(where));
            const double above = (c.height - 1) / 2.0 - (top + bottom) / 2.0;
            QVERIFY2(above >= 0 && above <= 3, qPrintable(where));
        }
        RemoveOwnFont();
    }

    // A caption wider than its pill is narrowed to keep clear of the
    // rounded ends, at the heights and font sizes of the smallest and the
    // largest window, rather than drawn over the rim.
    void wideCaptionKeepsClearOfTheRoundedEnds()
    {
        QTemporaryDir folder;
        QVERIFY(InstallOwnFont(folder.path().toStdString() + "/"));
        struct Case {
            int width, height, pixels;
        };
        for (const Case& c : {Case{110, 30, 22}, Case{200, 60, 40}}) {
            Host host(c.width, c.height);
            TTevQuizButton& b = *host.button;
            QFont f(QString::fromLatin1(OwnFontName));
            f.setPixelSize(c.pixels);
            f.setBold(true);
            b.setFont(f);
            b.setText(QStringLiteral("Члены клуба"));
            b.SetFontColor(0xFFFFFF);
            const int end = ComputeFaceGeometry(c.width, c.height).capAfterInset / 2;
            QVERIFY(QFontMetrics(f).horizontalAdvance(b.text()) > c.width - 2 * end);
            const QImage shot = host.Shot();
            int left = shot.width(), right = -1;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    if (qGreen(shot.pixel(x, y)) > 128) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            const QString where =
                QStringLiteral("%1 x %2: letters %3..%4").arg(c.width).arg(c.height).arg(left).arg(right);
            QVERIFY2(left >= end && right < c.width - end, qPrintable(where));
        }
        RemoveOwnFont();
    }

    void drawHandlerSeesTheItemRectangleAndStateAndComesBeforeTheContour()
    {
        Host host;
        QVERIFY(host.Show());
        TTevQuizButton& b = *host.button;
        std::vector<std::pair<QRect, unsigned short>> calls;
        b.SetOnDrawButton([&](TTevQuizButton* control, QRect& rect, unsigned short state) {
            QCOMPARE(control, &b);
            QVERIFY(control->Canvas());
            calls.emplace_back(rect, state);
            control->Canvas()->fillRect(rect, QColor(0, 0, 255));
        });
        b.setFocus(); // repaints on screen at once
        calls.clear();
        QImage shot = host.Shot();
        QCOMPARE(calls.size(), std::size_t(1));
        QCOMPARE(calls[0].first, QRect(0, 0, 100, 30));
        QCOMPARE(calls[0].second, kStateFocus);
        QCOMPARE(shot.pixel(50, 15), qRgb(0, 0, 255));
        QCOMPARE(shot.pixel(9, 15), qRgb(255, 200, 200)); // the contour over the handler's drawing
        QVERIFY(!b.Canvas());

        b.setDown(true);
        host.Shot();
        QCOMPARE(calls.back().first, QRect(1, 1, 100, 30));
        QCOMPARE(calls.back().second, (unsigned short)(kStateSelected | kStateFocus));

        b.setDown(false);
        b.setEnabled(false);
        host.Shot();
        QVERIFY(calls.back().second & kStateDisabled);
        QVERIFY(!(calls.back().second & kStateSelected));
    }

    void glyphPlacement_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        // y = round((H - 1 - 4) / 2): 12.5 -> 12, 17.5 -> 18.
        QTest::newRow("left at 30") << int(blGlyphLeft) << 30 << 15 << 12;
        QTest::newRow("left at 40") << int(blGlyphLeft) << 40 << 13 << 18;
        QTest::newRow("right at 45") << int(blGlyphRight) << 45 << 100 - 6 - 18 << 20;
        QTest::newRow("bottom") << int(blGlyphBottom) << 30 << 47 << 12;
        QTest::newRow("top: not drawn") << int(blGlyphTop) << 30 << -1 << -1;
    }
    void glyphPlacement()
    {
        QFETCH(int, layout);
        QFETCH(int, height);
        QFETCH(int, x);
        QFETCH(int, y);
        Host host(100, height);
        // 6 x 4, green with a magenta (transparent) bottom-left pixel and one
        // more magenta pixel inside.
        const QRgb green = qRgb(0, 255, 0), magenta = qRgb(255, 0, 255);
        QImage glyph(6, 4, QImage::Format_RGB32);
        glyph.fill(green);
        glyph.setPixel(0, 3, magenta);
        glyph.setPixel(2, 1, magenta);
        host.button->SetGlyph(QPixmap::fromImage(glyph));
        host.button->SetLayout(TButtonLayout(layout));
        const QImage shot = host.Shot();
        if (x < 0) {
            QVERIFY(!Contains(shot, shot.rect(), green));
            return;
        }
        QCOMPARE(shot.pixel(x, y), green);
        QCOMPARE(shot.pixel(x + 5, y + 3), green);
        QVERIFY(shot.pixel(x - 1, y) != green);
        QVERIFY(shot.pixel(x + 6, y + 3) != green);
        // Keyed out: the face shows through.
        QCOMPARE(shot.pixel(x + 2, y + 1), shot.pixel(x + 2, y - 1));
        QCOMPARE(shot.pixel(x, y + 3), shot.pixel(x, y + 4));
    }

    void doubleClickGivesTwoClicks()
    {
        Host host;
        QVERIFY(host.Show());
        QSignalSpy clicks(host.button, &QAbstractButton::clicked);
        QTest::mouseClick(host.button, Qt::LeftButton, {}, QPoint(50, 15));
        QTest::mouseDClick(host.button, Qt::LeftButton, {}, QPoint(50, 15));
        QTest::mouseRelease(host.button, Qt::LeftButton, {}, QPoint(50, 15));
        QCOMPARE(clicks.count(), 2);
    }

    void missingPictureIsReportedOnceAndTheRestIsDrawn()
    {
        TTevQuizButton::SetFacePictureLoader([](const QString& name) -> std::optional<QByteArray> {
            if (name == QLatin1String("B29_Telo"))
                return std::nullopt;
            return FixtureFace(name);
        });
        static QStringList warnings;
        warnings.clear();
        const auto previous =
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
                if (type == QtWarningMsg && text.contains(QLatin1String("B29_Telo")))
                    warnings << text;
            });
        Host host;
        QImage shot = host.Shot();
        Host second;
        second.Shot();
        shot = host.Shot();
        qInstallMessageHandler(previous);
        QCOMPARE(warnings.size(), 1);
        QCOMPARE(shot.pixel(5, 10), Expected(FacePart::Left, false, DRed, 0));
        QCOMPARE(shot.pixel(90, 10), Expected(FacePart::Right, false, DRed, 0));
        QCOMPARE(shot.pixel(50, 10), kBackground);
        // The report's error box comes from the event loop; close it so that
        // it takes no focus from the tests after this one.
        QCoreApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(w))
                w->close();
    }

    // Every variant at the three standard heights in every look, in one
    // picture for the eye: <build>/artifacts/quiz_buttons.png.
    void sheetOfAllLooks()
    {
        const bool realArt = HasResource(ResourceKind::Raw, QStringLiteral("B29_Left"));
        TTevQuizButton::SetFacePictureLoader(realArt ? FacePictureLoader{} : FacePictureLoader{FixtureFace});

        struct Look {
            const char* title;
            bool hover, focus, pressed, disabled, lightRect;
        };
        const Look looks[] = {
            {"normal", false, false, false, false, false},           {"hovered", true, false, false, false, false},
            {"hovered, LightRect", true, false, false, false, true}, {"focused", false, true, false, false, false},
            {"focused, LightRect", false, true, false, false, true}, {"pressed", false, false, true, false, false},
            {"disabled, GrayDis", false, false, false, true, false},
        };
        const char* variants[] = {"DRed", "DGreen", "DBlue", "DNavy", "DYellow", "DViolet", "DOrang"};
        const int heights[] = {30, 45, 60};
        constexpr int kButtonW = 140, kCellW = 156, kLabelW = 92, kHeaderH = 24, kGap = 6;

        int sheetH = kHeaderH;
        for (int h : heights)
            sheetH += kColorSBCount * (h + kGap) + 8;
        QImage sheet(kLabelW + kCellW * int(std::size(looks)), sheetH, QImage::Format_RGB32);
        sheet.fill(kBackground);
        QPainter painter(&sheet);
        painter.setPen(Qt::white);
        for (std::size_t i = 0; i < std::size(looks); ++i)
            painter.drawText(QRect(kLabelW + int(i) * kCellW, 0, kCellW, kHeaderH), Qt::AlignCenter,
                             QString::fromLatin1(looks[i].title));

        Host host(kButtonW, 60);
        QVERIFY(host.Show());
        TTevQuizButton& b = *host.button;
        b.setText(QStringLiteral("Дальше"));
        b.SetFontColor(0xFFFFFF);
        b.SetColorMouse(0x00FFFF);
        b.SetLightFont(true);
        b.SetGrayDis(true);
        int top = kHeaderH;
        for (int h : heights) {
            b.resize(kButtonW, h);
            QFont f = b.font();
            f.setPixelSize(h == 30 ? 14 : h == 45 ? 18 : 22);
            f.setBold(true);
            b.setFont(f);
            for (int v = 0; v < kColorSBCount; ++v) {
                b.SetColorSB(TColorSB(v));
                painter.drawText(QRect(4, top, kLabelW - 8, h), Qt::AlignVCenter | Qt::AlignLeft,
                                 QStringLiteral("%1 %2").arg(QString::fromLatin1(variants[v])).arg(h));
                for (std::size_t i = 0; i < std::size(looks); ++i) {
                    const Look& look = looks[i];
                    b.SetLightRect(look.lightRect);
                    b.setEnabled(!look.disabled);
                    b.setDown(look.pressed);
                    if (look.focus)
                        b.setFocus();
                    else
                        host.focusSink->setFocus();
                    QCOMPARE(b.hasFocus(), look.focus);
                    Hover(&b, look.hover);
                    const QImage cell = host.Shot();
                    painter.drawImage(kLabelW + int(i) * kCellW + (kCellW - kButtonW) / 2, top, cell);
                }
                top += h + kGap;
            }
            top += 8;
        }
        painter.end();
        const QString dir = QStringLiteral(VOKABRON_BUILD_DIR "/artifacts");
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(sheet.save(dir + QStringLiteral("/quiz_buttons.png")));
    }
};

QTEST_MAIN(QuizButtonTest)
#include "quiz_button_test.moc"
