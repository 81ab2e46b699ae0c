#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "tests/ui/main_window_parts.h"
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
    FontWindowCloser closer(form.findChild<vk::TFormFont*>());
    QSignalSpy waiting(&form, &TForm1::introWaiting);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The first paint names the window in Latin letters; the start-up
    // sequence gives it the Russian name.
    if (form.State().StartupPhase < 5)
        QCOMPARE(form.windowTitle(), QStringLiteral("Vokabron"));
    QVERIFY(waiting.wait(30000));
    QCOMPARE(form.State().StartupPhase, 5);
    // The font window came up once, unless the settings file turned it
    // off, and the shipped club file passed its check.
    QCOMPARE(closer.Shown, form.Preferences().NoFontWindow ? 0 : 1);
    QCOMPARE(form.State().Local.DistributionLabel, std::string("STD"));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void createdState()
    {
        TForm1 form;
        QCOMPARE(form.State().IntroActive, true);
        QCOMPARE(form.State().MenuActive, false);
        QCOMPARE(form.State().StartupPhase, 0);
        QCOMPARE(form.size(), QSize(760, 500));
        QCOMPARE(form.State().Memo1.size(), std::size_t(500));
        QCOMPARE(form.State().Memo2.size(), std::size_t(500));
        for (auto* key : parts::LetterKeys(form)) {
            QVERIFY(key);
            QVERIFY(key->isHidden());
            QVERIFY(key->LightRect());
            QCOMPARE(key->cursor().shape(), Qt::PointingHandCursor);
        }
        QVERIFY(!parts::Item(form, "Quit")->isEnabled());
        QVERIFY(!parts::Item(form, "GenCount")->isEnabled());
        QVERIFY(!parts::Item(form, "ChangeName")->isEnabled());
        QVERIFY(!parts::Item(form, "About")->isEnabled());
        QVERIFY(!parts::Item(form, "N3")->isEnabled());
        QVERIFY(parts::Item(form, "Help")->isEnabled());
        // Every popup item shows its 24 x 24 picture and carries its name.
        for (QAction* item : {parts::Item(form, "GenCount"), parts::Item(form, "Quit"), parts::Item(form, "ChangeName"),
                              parts::Item(form, "Help"), parts::Item(form, "About"), parts::Item(form, "N3")}) {
            QVERIFY(!item->objectName().isEmpty());
            QCOMPARE(item->icon().availableSizes().value(0), QSize(24, 24));
        }
        QCOMPARE(form.findChild<QWidget*>(QStringLiteral("ButtonN")),
                 static_cast<QWidget*>(parts::Button(form, "ButtonN")));
        QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::black));
    }

    void inputBeforeTheLastPhaseDoesNothing()
    {
        TForm1 form;
        for (int phase : {0, 1, 2, 3, 4}) {
            form.State().StartupPhase = phase;
            input::KeyRelease(&form, Qt::Key_Space);
            input::Click(parts::Picture(form, "Image1"), Qt::LeftButton);
            QCOMPARE(form.State().IntroActive, true);
            QCOMPARE(form.State().MenuActive, false);
        }
    }

    void aKeyRightAfterThePhaseFourPaintDoesNothing()
    {
        TForm1 form;
        // Input through the window runs the queued work first, as the
        // platform's event loop would: the font window it opens is closed.
        FontWindowCloser closer(form.findChild<vk::TFormFont*>());
        QSignalSpy waiting(&form, &TForm1::introWaiting);
        form.State().StartupPhase = 4;
        form.FormPaint(nullptr); // queues phase four's work
        QCOMPARE(form.State().StartupPhase, 5);
        input::KeyRelease(&form, Qt::Key_Space);
        input::Click(parts::Picture(form, "Image1"), Qt::LeftButton);
        QCOMPARE(form.State().IntroActive, true);
        QCOMPARE(form.State().MenuActive, false);

        // Once phase four has run, the first key ends the intro, and the
        // final animations do not come back over the menu.
        QVERIFY(waiting.count() > 0 || waiting.wait(30000));
        input::KeyRelease(&form, Qt::Key_Space);
        QCOMPARE(form.State().MenuActive, true);
        QCoreApplication::processEvents();
        QVERIFY(parts::Animation(form, "RxGIFAn1")->isHidden() && parts::Animation(form, "RxGIFAn2")->isHidden()
                && parts::Animation(form, "RxGIFAn3")->isHidden());
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!QApplication::overrideCursor());
    }

    void menuCanBeReachedWithoutTheIntro()
    {
        TForm1 form;
        form.ShowMenuWithoutIntro();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.State().IntroActive, false);
        QCOMPARE(form.State().MenuActive, true);
        QCOMPARE(form.windowTitle(), QStringLiteral("Вокаброн"));
        QCOMPARE(form.State().ClubState, 1);
        QCOMPARE(form.palette().color(QPalette::Window), QColor(0, 100, 100));
        QVERIFY(!QApplication::overrideCursor());
    }

    void privateFilesLieInAFolderOfOurOwn()
    {
        TForm1 form;
        const QString temp = QString::fromStdString(form.State().TempDir);
        QVERIFY(temp.endsWith('/'));
        QVERIFY(temp != QDir::tempPath() + '/');
        const QFileInfo info(temp);
        QVERIFY(info.isDir());
        QCOMPARE(info.permissions()
                     & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
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
        QCOMPARE(form.State().ClubState, 1);
        QCOMPARE(parts::Button(form, "Button6")->text(), QStringLiteral("Новый Игрок"));
        QCOMPARE(parts::Item(form, "Quit")->text(), QStringLiteral("Выход в меню"));

        input::KeyRelease(&form, Qt::Key_A);
        QCOMPARE(form.State().IntroActive, false);
        QCOMPARE(form.State().MenuActive, true);
        QVERIFY(parts::Item(form, "About")->isEnabled());
        QVERIFY(parts::Item(form, "N3")->isEnabled());
        QVERIFY(!parts::Item(form, "Quit")->isEnabled());
        QCOMPARE(form.Background().size(), QSize(760, 500));
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!QApplication::overrideCursor());

        // A second key changes nothing more.
        input::KeyRelease(&form, Qt::Key_A);
        QCOMPARE(form.State().MenuActive, true);
        form.close();
    }

    void aClickOnTheIntroPictureEndsIt()
    {
        TForm1 form;
        RunIntroToTheEnd(form);
        input::Click(parts::Picture(form, "Image1"), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(form.State().IntroActive, false);
        QCOMPARE(form.State().MenuActive, true);
        form.close();
    }

    void closingDuringTheIntroAsksNothing()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.close());
        QVERIFY(form.State().Closing);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void closingDuringAGameAsksAndNoKeepsIt()
    {
        TForm1 form;
        form.ShowMenuWithoutIntro();
        form.show();
        // A game is on the board.
        form.State().MenuActive = false;
        form.State().DealActive = true;
        form.State().Score = 987;

        QString asked;
        AnswerNextBox(QStringLiteral("Нет"), &asked);
        QVERIFY(!form.close());
        QCOMPARE(asked, QStringLiteral("Вы хотите выйти из игры? Все данные при этом будут утеряны!"));
        QVERIFY(form.isVisible());
        QVERIFY(!form.State().Closing);
        QCOMPARE(form.State().Score, 987);
        QVERIFY(parts::LetterKeys(form)[0] != nullptr);

        AnswerNextBox(QStringLiteral("Да"), &asked);
        QVERIFY(form.close());
        QVERIFY(form.State().Closing);
    }

    void closingFromTheMenuAsksNothing()
    {
        TForm1 form;
        form.ShowMenuWithoutIntro();
        form.show();
        QVERIFY(form.close());
        QVERIFY(form.State().Closing);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
