// The password, options and font windows, driven as a player drives them.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>

#include "common/codepage.h"
#include "common/text_lines.h"
#include "logic/localdata/club_file.h"
#include "ui/localdata/club_file_messages.h"
#include "ui/localdata/font_window.h"
#include "ui/localdata/options_window.h"
#include "ui/localdata/password_window.h"
#include "ui/kit/audio.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "window_test_support.h"

using namespace vk;

namespace {

std::string Cp(const char* utf8) { return *Utf8ToCp1251(utf8); }

void MoveMouse(QWidget* widget, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class LocalDialogsTest : public QObject {
    Q_OBJECT

    QImage background;
    QTemporaryDir folder;
    std::string clubPath;

    // A club file whose first member has the password "ab" and whose second
    // carries a code no password gives.
    void WriteClub()
    {
        ClubLines lines = EmptyClubFile();
        lines[0] = MakeMemberLine(Cp("Маша"), 1500, 7, EncodePassword("ab"));
        lines[1] = MakeMemberLine("Broken", 900, 3, "999999999999999");
        SealClubFile(lines);
        QFile f(QString::fromStdString(clubPath));
        QVERIFY(f.open(QIODevice::WriteOnly));
        const std::string bytes = ClubFileBytes(lines);
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        clubPath = folder.filePath(QStringLiteral("Vokabron.clb")).toStdString();
        background = testsupport::Background();
        QVERIFY(!background.isNull());
        InstallOwnFont(folder.path().toStdString() + "/");
    }

    void init() { WriteClub(); }

    void clubFileMessages()
    {
        struct Case {
            const char* what;
            std::function<void(const QString&)> prepare;
            bool goesOn;
            QString message; // empty: none
        };
        const QString path = folder.filePath(QStringLiteral("check/Vokabron.clb"));
        QDir().mkpath(folder.filePath(QStringLiteral("check")));
        auto write = [](const QString& p, const std::string& bytes) {
            QFile::remove(p);
            QFile f(p);
            f.open(QIODevice::WriteOnly);
            f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        };
        const std::string good = ClubFileBytes(EmptyClubFile());
        const Case cases[] = {
            {"missing", [](const QString& p) { QFile::remove(p); }, false,
             QStringLiteral("Не могу найти файл \"Vokabron.clb\"!")},
            {"damaged", [&](const QString& p) { write(p, good.substr(1)); }, false,
             QStringLiteral("Неверный файл \"Vokabron.clb\"!")},
            {"good", [&](const QString& p) { write(p, good); }, true, {}},
            {"read-only",
             [&](const QString& p) {
                 write(p, good);
                 QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
             },
             true,
             QStringLiteral("Файл \"Vokabron.clb\" имеет неверные атрибуты!\n\rРабота программы будет некорректной!")},
        };
        for (const Case& c : cases) {
            c.prepare(path);
            QString told;
            bool answered = false;
            if (!c.message.isEmpty())
                testsupport::AnswerModal<QMessageBox>([&](QMessageBox* box) {
                    told = box->text();
                    answered = true;
                    box->accept();
                });
            LocalClubState state;
            QCOMPARE(CheckClubFile(nullptr, path.toStdString(), true, state), c.goesOn);
            QCOMPARE(told, c.message);
            QCOMPARE(answered, !c.message.isEmpty());
            QCOMPARE(state.ClubWriteProtected, c.message.contains(QStringLiteral("атрибуты")));
            if (c.goesOn)
                QCOMPARE(state.DistributionLabel, std::string("STD"));
        }
    }

    void passwordWindowModes()
    {
        Settings prefs;
        prefs.PlayerName = Cp("  Петя  ");
        TFormPassword w(prefs, background);
        LocalClubState state;
        state.CurrentName = PadRight(Cp("Вова"), 20);

        struct Mode {
            PasswordMode mode;
            int slot;
            QString name;
            bool nameEnabled;
            QLineEdit* focus;
        };
        const Mode modes[] = {
            {PasswordMode::Member, 1, QStringLiteral("Маша") + QString(16, ' '), false,
             testsupport::Find<QLineEdit>(w, "Edit2")},
            {PasswordMode::NewPlayer, 6, QStringLiteral("Петя"), true, testsupport::Find<QLineEdit>(w, "Edit1")},
            {PasswordMode::ChangeName, 6, QStringLiteral("Вова"), true, testsupport::Find<QLineEdit>(w, "Edit1")},
        };
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (const Mode& m : modes) {
            testsupport::Find<QLineEdit>(w, "Edit2")->setText(QStringLiteral("xx"));
            testsupport::Find<QLineEdit>(w, "Edit3")->setText(QStringLiteral("yy"));
            w.Prepare(m.mode, m.slot, clubPath, state);
            QCOMPARE(w.windowTitle(), QStringLiteral("Добро пожаловать!"));
            QCOMPARE(testsupport::Find<QLineEdit>(w, "Edit1")->text(), m.name);
            QCOMPARE(testsupport::Find<QLineEdit>(w, "Edit1")->isEnabled(), m.nameEnabled);
            QCOMPARE(testsupport::Find<QLabel>(w, "Label1")->isEnabled(), m.nameEnabled);
            QCOMPARE(testsupport::Find<QLineEdit>(w, "Edit3")->isEnabled(), m.nameEnabled);
            QCOMPARE(testsupport::Find<QLabel>(w, "Label3")->isEnabled(), m.nameEnabled);
            QVERIFY(testsupport::Find<QLineEdit>(w, "Edit2")->isEnabled());
            QVERIFY(testsupport::Find<QLineEdit>(w, "Edit2")->text().isEmpty());
            QVERIFY(testsupport::Find<QLineEdit>(w, "Edit3")->text().isEmpty());
            QVERIFY(testsupport::Find<QLabel>(w, "Label4")->isHidden());
            QCOMPARE(QApplication::focusWidget(), m.focus);
        }
        // The window's own filling of the name box leaves PlayerName alone.
        QCOMPARE(prefs.PlayerName, Cp("  Петя  "));
        QCOMPARE(testsupport::Find<QLabel>(w, "Label2")->text(), QStringLiteral("Введите Ваш пароль:"));
        QCOMPARE(testsupport::Find<vk::TTevQuizButton>(w, "Button2")->text(), QStringLiteral("Отмена"));
        QVERIFY(testsupport::SaveGrab(w, QStringLiteral("password_new_player")));
    }

    void passwordEntryCheck()
    {
        Settings prefs;
        TFormPassword w(prefs, background);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));

        struct Attempt {
            const char* what;
            PasswordMode mode;
            int slot;
            QString name, first, second;
            const char* error; // nullptr: accepted
            QLineEdit* focus;
        };
        const Attempt attempts[] = {
            {"empty name", PasswordMode::NewPlayer, 6, "", "a", "a", "Неверное имя!",
             testsupport::Find<QLineEdit>(w, "Edit1")},
            {"passwords differ", PasswordMode::NewPlayer, 6, "Ann", "ab", "ac", "Пароли не совпадают!",
             testsupport::Find<QLineEdit>(w, "Edit2")},
            {"wrong password",
             PasswordMode::Member,
             1,
             {},
             "ba",
             {},
             "Неверный пароль!",
             testsupport::Find<QLineEdit>(w, "Edit2")},
            {"other letter case",
             PasswordMode::Member,
             1,
             {},
             "AB",
             {},
             "Неверный пароль!",
             testsupport::Find<QLineEdit>(w, "Edit2")},
            {"a code no password gives",
             PasswordMode::Member,
             2,
             {},
             "",
             {},
             "Неверный пароль!",
             testsupport::Find<QLineEdit>(w, "Edit2")},
            {"the two letters", PasswordMode::Member, 1, {}, "ab", {}, nullptr, nullptr},
            {"the two letters and a blank", PasswordMode::Member, 1, {}, "ab ", {}, nullptr, nullptr},
        };
        for (const Attempt& a : attempts) {
            const QByteArray what(a.what);
            LocalClubState state;
            w.Prepare(a.mode, a.slot, clubPath, state);
            w.show();
            if (a.mode != PasswordMode::Member) {
                testsupport::Find<QLineEdit>(w, "Edit1")->setText(a.name);
                testsupport::Find<QLineEdit>(w, "Edit3")->setText(a.second);
            }
            testsupport::Find<QLineEdit>(w, "Edit2")->setText(a.first);
            // Enter in the box runs the check, as "Ok" does.
            QTest::keyClick(testsupport::Find<QLineEdit>(w, "Edit2"), Qt::Key_Return);
            QCOMPARE(state.PasswordAccepted, a.error == nullptr);
            if (a.error) {
                QVERIFY2(w.isVisible(), what);
                QVERIFY2(testsupport::Find<QLabel>(w, "Label4")->isVisible(), what);
                QCOMPARE(testsupport::Find<QLabel>(w, "Label4")->text(), QString::fromUtf8(a.error));
                QCOMPARE(QApplication::focusWidget(), a.focus);
                continue;
            }
            QVERIFY2(!w.isVisible(), what);
            QCOMPARE(w.result(), int(QDialog::Accepted));
            QCOMPARE(state.CurrentName, PadRight(Cp("Маша"), 20));
            QCOMPARE(state.CurrentPassword, std::string("ab   "));
            QCOMPARE(state.CurrentPasswordCode, EncodePassword("ab"));
        }
    }

    void newPlayerWithoutPassword()
    {
        Settings prefs;
        TFormPassword w(prefs, background);
        LocalClubState state;
        testsupport::AnswerModal<TFormPassword>([](TFormPassword* modal) {
            testsupport::Find<QLineEdit>(*modal, "Edit1")->clear();
            testsupport::TypeText(testsupport::Find<QLineEdit>(*modal, "Edit1"), QStringLiteral("Ёжик в тумане"));
            QTest::mouseClick(testsupport::Find<vk::TTevQuizButton>(*modal, "Button1"), Qt::LeftButton);
        });
        QVERIFY(w.ShowModal(PasswordMode::NewPlayer, 6, clubPath, state));
        QCOMPARE(state.CurrentName, PadRight(Cp("Ёжик в тумане"), 20));
        QCOMPARE(state.CurrentPassword, std::string(5, ' '));
        QCOMPARE(state.CurrentPasswordCode, EncodePassword(""));
        // What the player typed is proposed next time.
        QCOMPARE(prefs.PlayerName, Cp("Ёжик в тумане"));
    }

    void boxesTakeOnlyWhatTheFilesCanHold()
    {
        Settings prefs;
        TFormPassword w(prefs, background);
        LocalClubState state;
        w.Prepare(PasswordMode::NewPlayer, 6, clubPath, state);
        w.show();
        testsupport::Find<QLineEdit>(w, "Edit1")->clear();
        testsupport::TypeText(testsupport::Find<QLineEdit>(w, "Edit1"), QStringLiteral("Ab日€"));
        QCOMPARE(testsupport::Find<QLineEdit>(w, "Edit1")->text(), QStringLiteral("Ab€"));
        // A pasted line break or tab never gets in.
        testsupport::Find<QLineEdit>(w, "Edit1")->insert(QStringLiteral("x\ny"));
        testsupport::Find<QLineEdit>(w, "Edit1")->insert(QStringLiteral("x\ty"));
        QCOMPARE(testsupport::Find<QLineEdit>(w, "Edit1")->text(), QStringLiteral("Ab€"));
        QTest::keyClicks(testsupport::Find<QLineEdit>(w, "Edit2"), QStringLiteral("abcdefg"));
        QCOMPARE(testsupport::Find<QLineEdit>(w, "Edit2")->text(), QStringLiteral("abcde"));
        QCOMPARE(testsupport::Find<QLineEdit>(w, "Edit2")->displayText(), QStringLiteral("#####"));
        QCOMPARE(testsupport::Find<QLineEdit>(w, "Edit1")->maxLength(), 20);
    }

    void cancelLeavesTheEntryUnaccepted()
    {
        Settings prefs;
        TFormPassword w(prefs, background);
        LocalClubState state;
        int clicks = 0;
        w.PlayEffect = [&clicks](const QString&) { ++clicks; };
        testsupport::AnswerModal<TFormPassword>([](TFormPassword* modal) {
            QTest::mouseClick(testsupport::Find<vk::TTevQuizButton>(*modal, "Button2"), Qt::LeftButton);
        });
        QVERIFY(!w.ShowModal(PasswordMode::NewPlayer, 6, clubPath, state));
        QCOMPARE(clicks, 1);
        testsupport::AnswerModal<TFormPassword>([](TFormPassword* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QVERIFY(!w.ShowModal(PasswordMode::Member, 1, clubPath, state));
        QVERIFY(!state.PasswordAccepted);
    }

    void optionRowsAndHitBoxes()
    {
        Settings prefs;
        prefs.WindowSize = 1;
        TFormOptions w(prefs, background);
        w.SetAnimationPause(0);
        w.SetScreenLimits(ComputeScreenLimits(1280, 1024));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DrawOptionsPage();

        for (int row = 1; row <= 9; ++row) {
            const int top = 147 + 34 * (row - 1);
            QCOMPARE(w.RowAt(QPoint(65, top)), row);
            QCOMPARE(w.RowAt(QPoint(90, top + 28)), row);
            QCOMPARE(w.RowAt(QPoint(64, top + 10)), 0);
            QCOMPARE(w.RowAt(QPoint(90, top + 29)), 0);
            QCOMPARE(w.RowAt(QPoint(90, top - 1)), 0);
        }
        // The box ends 40 pixels past the label's width; the label of row 9
        // is wider than 60 pixels in any font.
        QVERIFY(w.RowAt(QPoint(160, 419)) == 9);

        struct Cursor {
            int row;
            Qt::CursorShape shape;
        };
        for (const Cursor c : {Cursor{1, Qt::PointingHandCursor}, Cursor{4, Qt::PointingHandCursor},
                               Cursor{5, Qt::ArrowCursor}, // the current size
                               Cursor{6, Qt::PointingHandCursor}, Cursor{7, Qt::PointingHandCursor},
                               Cursor{8, Qt::ArrowCursor}, // too big for the screen
                               Cursor{9, Qt::ArrowCursor}}) {
            MoveMouse(testsupport::Find<vk::PictureBox>(w, "Image1"), QPoint(70, 147 + 34 * (c.row - 1) + 5));
            QCOMPARE(testsupport::Find<vk::PictureBox>(w, "Image1")->cursor().shape(), c.shape);
        }
        MoveMouse(testsupport::Find<vk::PictureBox>(w, "Image1"), QPoint(20, 20));
        QCOMPARE(testsupport::Find<vk::PictureBox>(w, "Image1")->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(testsupport::SaveGrab(w, QStringLiteral("options")));
    }

    void optionClicks()
    {
        Settings prefs;
        TFormOptions w(prefs, background);
        w.SetAnimationPause(0);
        w.SetScreenLimits(ComputeScreenLimits(1920, 1000));
        QStringList effects;
        w.PlayEffect = [&effects](const QString& name) { effects << name; };
        int sizeChanges = 0, fontChanges = 0;
        w.OnWindowSizeChanged = [&] { ++sizeChanges; };
        w.OnFontsChanged = [&] { ++fontChanges; };
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DrawOptionsPage();
        const QRect cell(65, 147, 28, 28);
        const QImage on = testsupport::Find<vk::PictureBox>(w, "Image1")->Canvas().copy(cell);

        auto click = [&w](int row) {
            QTest::mouseClick(testsupport::Find<vk::PictureBox>(w, "Image1"), Qt::LeftButton, Qt::NoModifier,
                              QPoint(70, 147 + 34 * (row - 1) + 5));
        };
        // Turning the sound off plays no click; turning it on plays one.
        click(1);
        QVERIFY(!prefs.SoundOn);
        QVERIFY(effects.isEmpty());
        QVERIFY(testsupport::Find<vk::PictureBox>(w, "Image1")->Canvas().copy(cell) != on);
        click(1);
        QVERIFY(prefs.SoundOn);
        QCOMPARE(effects, QStringList{QStringLiteral("WClick")});
        QCOMPARE(testsupport::Find<vk::PictureBox>(w, "Image1")->Canvas().copy(cell),
                 on); // the mark is back, pixel for pixel

        click(3);
        QVERIFY(prefs.NoOwnFont);
        QCOMPARE(prefs.DisplayFontName, std::string("Times New Roman"));
        QCOMPARE(fontChanges, 1);
        click(4);
        QVERIFY(prefs.NoFontWindow);

        // The current size and a size too big for the screen do nothing.
        effects.clear();
        click(5);
        click(9);
        QCOMPARE(prefs.WindowSize, 1);
        QCOMPARE(sizeChanges, 0);
        QVERIFY(effects.isEmpty());
        const QImage sizeRows = testsupport::Find<vk::PictureBox>(w, "Image1")->Canvas().copy(QRect(65, 283, 28, 170));
        click(8);
        QCOMPARE(prefs.WindowSize, 4);
        QCOMPARE(sizeChanges, 1);
        QCOMPARE(effects, QStringList{QStringLiteral("WClick")});
        // The old size lost its mark and the new one gained it.
        QVERIFY(testsupport::Find<vk::PictureBox>(w, "Image1")->Canvas().copy(QRect(65, 283, 28, 28))
                != sizeRows.copy(0, 0, 28, 28));
        QVERIFY(testsupport::Find<vk::PictureBox>(w, "Image1")->Canvas().copy(QRect(65, 385, 28, 28))
                != sizeRows.copy(0, 102, 28, 28));
        QVERIFY(testsupport::SaveGrab(w, QStringLiteral("options_changed")));
    }

    void fontWindow()
    {
        Settings prefs;
        prefs.NoOwnFont = true;
        TFormFont w(prefs);
        w.Prepare();
        // The own font is tried again at every showing.
        QVERIFY(!prefs.NoOwnFont);
        QVERIFY(!testsupport::Find<QCheckBox>(w, "CheckBox1")->isChecked());
        QVERIFY(!testsupport::Find<QCheckBox>(w, "CheckBox2")->isChecked());
        QCOMPARE(w.windowTitle(), QStringLiteral("Шрифты"));
        QCOMPARE(testsupport::Find<QLabel>(w, "Label1")->text(), QStringLiteral("Вокаброн"));
        QCOMPARE(testsupport::Find<QLabel>(w, "Label1")->font().family(), QStringLiteral("OldCyr Bold"));
        QVERIFY(testsupport::Find<QLabel>(w, "Label2")
                    ->text()
                    .startsWith(QStringLiteral("Если сверху вместо слова \"Вокаброн\", Вы видите")));
        QCOMPARE(w.palette().color(QPalette::Window), QColor(200, 255, 255));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(testsupport::Find<QCheckBox>(w, "CheckBox1"), Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
        QVERIFY(prefs.NoOwnFont);
        QTest::mouseClick(testsupport::Find<QCheckBox>(w, "CheckBox2"), Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
        QVERIFY(prefs.NoFontWindow);
        QVERIFY(testsupport::SaveGrab(w, QStringLiteral("font_window")));
        QTest::mouseClick(testsupport::Find<QCheckBox>(w, "CheckBox1"), Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
        QVERIFY(!prefs.NoOwnFont);
        QTest::mouseClick(testsupport::Find<vk::TTevQuizButton>(w, "Button1"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }

    // At the first start a player "presses any key": Space and Enter close
    // the window through "Ok" and leave both settings alone; a box changes
    // from the keyboard only once the focus has been moved onto it.
    void fontWindowKeys()
    {
        Settings prefs;
        TFormFont w(prefs);
        // Keys go where the focus is; a window the keys did not close is
        // turned down, so that the test goes on to report it.
        QWidget* focused = nullptr;
        auto press = [&focused](TFormFont* modal, std::initializer_list<Qt::Key> keys) {
            if (QTest::qWaitForWindowActive(modal)) {
                focused = QApplication::focusWidget();
                for (const Qt::Key key : keys)
                    QTest::keyClick(static_cast<QWidget*>(nullptr), key);
            }
            if (modal->isVisible())
                modal->reject();
        };
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
            focused = nullptr;
            testsupport::AnswerModal<TFormFont>([&](TFormFont* modal) { press(modal, {key}); });
            QCOMPARE(w.ShowModal(), int(QDialog::Accepted));
            QCOMPARE(focused, static_cast<QWidget*>(testsupport::Find<vk::TTevQuizButton>(w, "Button1")));
            QVERIFY(!prefs.NoOwnFont);
            QVERIFY(!prefs.NoFontWindow);
        }

        // Tab, then Space ticks the box the focus moved to; Enter still
        // presses "Ok".
        testsupport::AnswerModal<TFormFont>([&](TFormFont* modal) {
            press(modal, {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return});
        });
        QCOMPARE(w.ShowModal(), int(QDialog::Accepted));
        QVERIFY(prefs.NoOwnFont);
        QVERIFY(!prefs.NoFontWindow);
    }
};

QTEST_MAIN(LocalDialogsTest)
#include "local_dialogs_test.moc"
