#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "ui/game/main_window.h"
#include "ui/localdata/font_window.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "window_input.h"
#include "window_test_support.h"

using vk::TForm1;

namespace {

// Answers the next modal message box with the button whose text is given,
// and records the box's text.
void AnswerNextBox(const QString& buttonText, QString* seenText)
{
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerNextBox(buttonText, seenText);
            return;
        }
        *seenText = box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == buttonText)
                input::Click(b);
    });
}

// The font window comes up during the intro unless the settings turn it
// off; the player closes it with "Ok".  Counts its showings.
class FontWindowCloser : public QObject {
public:
    explicit FontWindowCloser(vk::TFormFont* window) : window_(window) { window->installEventFilter(this); }
    int Shown = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            ++Shown;
            QTimer::singleShot(0, testsupport::Find<vk::TTevQuizButton>(*window_, "Button1"), &QPushButton::click);
        }
        return false;
    }

private:
    vk::TFormFont* window_;
};

void RunIntroToTheEnd(TForm1& form)
{
    FontWindowCloser closer(form.FormFont);
    QSignalSpy waiting(&form, &TForm1::introWaiting);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The first paint names the window in Latin letters; the start-up
    // sequence gives it the Russian name.
    if (form.Game.StartupPhase < 5)
        QCOMPARE(form.windowTitle(), QStringLiteral("Vokabron"));
    QVERIFY(waiting.wait(30000));
    QCOMPARE(form.Game.StartupPhase, 5);
    // The font window came up once, unless the settings file turned it
    // off, and the shipped club file passed its check.
    QCOMPARE(closer.Shown, form.Prefs.NoFontWindow ? 0 : 1);
    QCOMPARE(form.Game.Local.DistributionLabel, std::string("STD"));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void createdState()
    {
        TForm1 form;
        QCOMPARE(form.Game.IntroActive, true);
        QCOMPARE(form.Game.MenuActive, false);
        QCOMPARE(form.Game.StartupPhase, 0);
        QCOMPARE(form.size(), QSize(760, 500));
        QCOMPARE(form.Game.Memo1.size(), std::size_t(500));
        QCOMPARE(form.Game.Memo2.size(), std::size_t(500));
        for (auto* key : form.BLetters) {
            QVERIFY(key);
            QVERIFY(key->isHidden());
            QVERIFY(key->LightRect());
            QCOMPARE(key->cursor().shape(), Qt::PointingHandCursor);
        }
        QVERIFY(!form.Quit->isEnabled());
        QVERIFY(!form.GenCount->isEnabled());
        QVERIFY(!form.ChangeName->isEnabled());
        QVERIFY(!form.About->isEnabled());
        QVERIFY(!form.N3->isEnabled());
        QVERIFY(form.Help->isEnabled());
        // Every popup item shows its 24 x 24 picture and carries its name.
        for (QAction* item : {form.GenCount, form.Quit, form.ChangeName, form.Help, form.About, form.N3}) {
            QVERIFY(!item->objectName().isEmpty());
            QCOMPARE(item->icon().availableSizes().value(0), QSize(24, 24));
        }
        QCOMPARE(form.findChild<QWidget*>(QStringLiteral("ButtonN")), static_cast<QWidget*>(form.ButtonN));
        QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::black));
    }

    void inputBeforeTheLastPhaseDoesNothing()
    {
        TForm1 form;
        for (int phase : {0, 1, 2, 3, 4}) {
            form.Game.StartupPhase = phase;
            input::KeyRelease(&form, Qt::Key_Space);
            input::Click(form.Image1, Qt::LeftButton);
            QCOMPARE(form.Game.IntroActive, true);
            QCOMPARE(form.Game.MenuActive, false);
        }
    }

    void aKeyRightAfterThePhaseFourPaintDoesNothing()
    {
        TForm1 form;
        // Input through the window runs the queued work first, as the
        // platform's event loop would: the font window it opens is closed.
        FontWindowCloser closer(form.FormFont);
        QSignalSpy waiting(&form, &TForm1::introWaiting);
        form.Game.StartupPhase = 4;
        form.FormPaint(nullptr); // queues phase four's work
        QCOMPARE(form.Game.StartupPhase, 5);
        input::KeyRelease(&form, Qt::Key_Space);
        input::Click(form.Image1, Qt::LeftButton);
        QCOMPARE(form.Game.IntroActive, true);
        QCOMPARE(form.Game.MenuActive, false);

        // Once phase four has run, the first key ends the intro, and the
        // final animations do not come back over the menu.
        QVERIFY(waiting.count() > 0 || waiting.wait(30000));
        input::KeyRelease(&form, Qt::Key_Space);
        QCOMPARE(form.Game.MenuActive, true);
        QCoreApplication::processEvents();
        QVERIFY(form.RxGIFAn1->isHidden() && form.RxGIFAn2->isHidden() && form.RxGIFAn3->isHidden());
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!QApplication::overrideCursor());
    }

    void menuCanBeReachedWithoutTheIntro()
    {
        TForm1 form;
        form.ShowMenuWithoutIntro();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.Game.IntroActive, false);
        QCOMPARE(form.Game.MenuActive, true);
        QCOMPARE(form.windowTitle(), QStringLiteral("Вокаброн"));
        QCOMPARE(form.Game.ClubState, 1);
        QCOMPARE(form.palette().color(QPalette::Window), QColor(0, 100, 100));
        QVERIFY(!QApplication::overrideCursor());
    }

    void privateFilesLieInAFolderOfOurOwn()
    {
        TForm1 form;
        const QString temp = QString::fromStdString(form.Game.TempDir);
        QVERIFY(temp.endsWith('/'));
        QVERIFY(temp != QDir::tempPath() + '/');
        const QFileInfo info(temp);
        QVERIFY(info.isDir());
        QCOMPARE(info.permissions() & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
                                       | QFileDevice::WriteOther | QFileDevice::ExeGroup | QFileDevice::ExeOther),
                 QFileDevice::Permissions());
        // The font is unpacked there, under its own name.
        QVERIFY(QFileInfo::exists(temp + "oldcyr_bold.ttf"));
        form.ShowMenuWithoutIntro();
        QVERIFY(form.close());
        QVERIFY(!QFileInfo::exists(temp + "oldcyr_bold.ttf"));
        QVERIFY(!QFileInfo::exists(temp + "temp_50_17.mp3"));
    }

    void introRunsThroughItsPhasesAndAKeyEndsIt()
    {
        TForm1 form;
        QCOMPARE(form.windowTitle(), QString());
        RunIntroToTheEnd(form);
        QCOMPARE(form.windowTitle(), QStringLiteral("Вокаброн"));
        QCOMPARE(form.Game.ClubState, 1);
        QCOMPARE(form.Button6->text(), QStringLiteral("Новый Игрок"));
        QCOMPARE(form.Quit->text(), QStringLiteral("Выход в меню"));

        input::KeyRelease(&form, Qt::Key_A);
        QCOMPARE(form.Game.IntroActive, false);
        QCOMPARE(form.Game.MenuActive, true);
        QVERIFY(form.About->isEnabled());
        QVERIFY(form.N3->isEnabled());
        QVERIFY(!form.Quit->isEnabled());
        QCOMPARE(form.BackgroundPicture.size(), QSize(760, 500));
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!QApplication::overrideCursor());

        // A second key changes nothing more.
        input::KeyRelease(&form, Qt::Key_A);
        QCOMPARE(form.Game.MenuActive, true);
        form.close();
    }

    void aClickOnTheIntroPictureEndsIt()
    {
        TForm1 form;
        RunIntroToTheEnd(form);
        input::Click(form.Image1, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(form.Game.IntroActive, false);
        QCOMPARE(form.Game.MenuActive, true);
        form.close();
    }

    void closingDuringTheIntroAsksNothing()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.close());
        QVERIFY(form.Game.Closing);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void closingDuringAGameAsksAndNoKeepsIt()
    {
        TForm1 form;
        form.ShowMenuWithoutIntro();
        form.show();
        // A game is on the board.
        form.Game.MenuActive = false;
        form.Game.DealActive = true;
        form.Game.Score = 987;

        QString asked;
        AnswerNextBox(QStringLiteral("Нет"), &asked);
        QVERIFY(!form.close());
        QCOMPARE(asked, QStringLiteral("Вы хотите выйти из игры? Все данные при этом будут утеряны!"));
        QVERIFY(form.isVisible());
        QVERIFY(!form.Game.Closing);
        QCOMPARE(form.Game.Score, 987);
        QVERIFY(form.BLetters[0] != nullptr);

        AnswerNextBox(QStringLiteral("Да"), &asked);
        QVERIFY(form.close());
        QVERIFY(form.Game.Closing);
    }

    void closingFromTheMenuAsksNothing()
    {
        TForm1 form;
        form.ShowMenuWithoutIntro();
        form.show();
        QVERIFY(form.close());
        QVERIFY(form.Game.Closing);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
