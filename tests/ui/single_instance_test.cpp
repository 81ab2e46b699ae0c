#include <QApplication>
#include <QDialog>
#include <QLocalServer>
#include <QSignalSpy>
#include <QtTest>

#include "ui/game/single_instance.h"

using vk::SingleInstance;

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void secondStartRaisesTheFirst()
    {
        const QString key = QStringLiteral("/test/program/folder/%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(key);
        QVERIFY(!first.AnotherIsRunning());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);

        SingleInstance second(key);
        QVERIFY(second.AnotherIsRunning());
        QVERIFY(raised.wait(5000));

        // Another folder is another program.
        SingleInstance elsewhere(key + QStringLiteral("/other"));
        QVERIFY(!elsewhere.AnotherIsRunning());
    }

    // The first copy shows a modal window (the font window at start-up): a
    // second start brings the main window back as it was and puts the
    // topmost of the modal windows in front with the keyboard, never the
    // main window over it.
    void secondStartRaisesTheTopmostModalWindow()
    {
        QWidget main; // the full-screen size: a maximised window
        main.showMaximized();
        QDialog outer(&main);
        outer.setModal(true);
        outer.show();
        QDialog inner(&outer);
        inner.setModal(true);
        inner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&inner));
        main.showMinimized();
        main.activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() != &inner);

        const QString key = QStringLiteral("/test/modal/%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(key);
        QVERIFY(!first.AnotherIsRunning());
        connect(&first, &SingleInstance::raiseRequested, &main, [&main] { vk::BringProgramToFront(main); });
        SingleInstance second(key);
        QVERIFY(second.AnotherIsRunning());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&inner));
        QCOMPARE(main.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), Qt::WindowMaximized);
        QVERIFY(main.isVisible());
    }

    void staleSocketOfACrashedCopyIsTakenOver()
    {
        const QString key = QStringLiteral("/test/crashed/%1").arg(QCoreApplication::applicationPid());
        {
            // A listener that goes away without answering leaves nothing
            // that could make a later start think it is a second copy.
            QLocalServer dead;
            QVERIFY(dead.listen(SingleInstance::ServerName(key)));
            dead.close();
        }
        SingleInstance next(key);
        QVERIFY(!next.AnotherIsRunning());
        SingleInstance after(key);
        QVERIFY(after.AnotherIsRunning());
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
