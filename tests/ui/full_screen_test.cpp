// The main window on a small wide screen with a high pixel density: the
// full-screen size and the program's own pixels.
#include <QApplication>
#include <QScreen>
#include <QtTest>

#include "ui/game/main_window.h"
#include "ui/game/screen_scaling.h"

using vk::TForm1;

class FullScreenTest : public QObject {
    Q_OBJECT
private slots:
    void theProgramDrawsInItsOwnPixels()
    {
        // The screen asks for twice the pixels; the program keeps 1:1.
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.devicePixelRatioF(), 1.0);
        QCOMPARE(form.grab().size(), QSize(760, 500));
    }

    void fullScreenTakesTheClientPartOfTheWorkArea()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        // The client part of the maximised window is 1366 x 700 here (the
        // frame takes two pixels on each side).
        form.Preferences().WindowSize = 2;
        form.SetWindowSize();
        QTRY_VERIFY(form.isMaximized());
        QTRY_COMPARE(form.WindowLayout().ClientW, 1366);
        QCOMPARE(form.WindowLayout().ClientH, 700);
        QCOMPARE(form.size(), QSize(1366, 700));
        QVERIFY(qAbs(form.WindowLayout().ScaleX - 1366.0 / 760) < 1e-12);
        QCOMPARE(form.WindowLayout().ScaleY, 1.4);
        QCOMPARE(form.WindowLayout().Scale, 1.4);
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(work.contains(form.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                     .arg(form.frameGeometry().x())
                                                                     .arg(form.frameGeometry().y())
                                                                     .arg(form.frameGeometry().width())
                                                                     .arg(form.frameGeometry().height())));

        // Back to the small window: no longer maximised, centred by its
        // frame on the screen.
        form.Preferences().WindowSize = 1;
        form.SetWindowSize();
        QTRY_VERIFY(!form.isMaximized());
        QCOMPARE(form.size(), QSize(760, 500));
        QCOMPARE(form.WindowLayout().Scale, 1.0);
        QTRY_COMPARE(form.frameGeometry().topLeft(), QPoint(303, 100)); // (1370 - 764) / 2, (704 - 504) / 2
    }
};

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" VOKABRON_FIXTURE_DIR "/screens/laptop_hidpi.json");
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    FullScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "full_screen_test.moc"
