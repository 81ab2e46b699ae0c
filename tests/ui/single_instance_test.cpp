#include <QLocalServer>
#include <QSignalSpy>
#include <QtTest>

#include "game/single_instance.h"

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
