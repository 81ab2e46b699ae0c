#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "tests/ui/main_window_parts.h"
#include "common/codepage.h"
#include "common/text_cipher.h"
#include "common/text_lines.h"
#include "ui/game/help_window.h"
#include "ui/game/main_window.h"
#include "logic/localdata/club_file.h"
#include "ui/localdata/count_window.h"
#include "ui/localdata/password_window.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "window_input.h"
#include "window_test_support.h"

using vk::TForm1;

namespace {

std::string Cp(const char* utf8) { return vk::Utf8ToCp1251(utf8).value(); }

// Runs Action on the next modal window once it is up.
void OnNextModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            OnNextModal(action);
            return;
        }
        action(modal);
    });
}

// Answers the next message box with the button of that text; records the
// box's text.
void AnswerNextBox(const QString& buttonText, QString* seen)
{
    OnNextModal([=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        *seen = box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == buttonText)
                input::Click(b);
    });
}

QString ArtifactDir()
{
    const QString dir = QStringLiteral(VOKABRON_BUILD_DIR "/artifacts");
    QDir().mkpath(dir);
    return dir;
}

// A window on the menu at a window size, playing in a folder of its own
// with a fresh club file, on a fixed puzzle.
struct GameWindow {
    explicit GameWindow(int size = 1)
    {
        form.Preferences().WindowSize = size;
        form.Preferences().SoundOn = false;
        form.SetWindowSize();
        form.State().ProgramDir = QDir(folder.path()).absolutePath().toStdString() + "/";
        WriteClub(vk::EmptyClubFile());
        form.ShowMenuWithoutIntro();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    std::string ClubPath() const { return form.State().ProgramDir + vk::ClubFileName; }

    void WriteClub(vk::ClubLines lines)
    {
        vk::SealClubFile(lines);
        QFile file(QString::fromStdString(ClubPath()));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const std::string bytes = vk::ClubFileBytes(lines);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    vk::ClubLines Club() const { return vk::ReadClubFile(ClubPath()).value(); }

    // Every deal from now on deals this puzzle (answer and theme in UTF-8).
    void UsePuzzle(const char* answer, const char* theme = "Тема")
    {
        const std::string line = Cp(answer) + "#" + Cp(theme) + "#x#";
        form.State().Memo1[0] = vk::EncodeText(line, vk::PuzzleStartKey);
        form.PuzzleSource() = [](int) { return 0; };
    }

    void StartNewPlayer(const char* name = "Тестер")
    {
        form.State().Local.CurrentName = Cp(name);
        form.State().Local.CurrentPasswordCode = vk::EncodePassword("");
        form.StartNewPlayerGame();
    }

    vk::TTevQuizButton* Key(const char* letter) const
    {
        return parts::LetterKeys(form)[static_cast<std::size_t>(vk::KeyOfLetter(Cp(letter)[0]) - 1)];
    }

    void Click(const char* letter) const { input::Click(Key(letter), Qt::LeftButton); }

    // Types into whatever has the focus, as the keyboard would.
    void Type(const QString& text) { input::Type(&form, text); }

    void Solve(const char* letters) const
    {
        for (const char* p = letters; *p;) {
            // One UTF-8 letter at a time.
            const int len = (static_cast<unsigned char>(*p) & 0xE0) == 0xC0 ? 2 : 1;
            const std::string letter(p, static_cast<std::size_t>(len));
            Click(letter.c_str());
            p += len;
        }
    }

    QImage Board()
    {
        return parts::Picture(form, "ImageRamka")
            ->Canvas()
            .copy(0, 0, parts::Picture(form, "ImageRamka")->width(), parts::Picture(form, "ImageRamka")->height());
    }

    void Shot(const QString& name) { form.grab().save(ArtifactDir() + "/" + name + ".png"); }

    QTemporaryDir folder;
    TForm1 form;
};

} // namespace

class GameScreenTest : public QObject {
    Q_OBJECT
private slots:
    void dealSolvedWithTheMouse_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("size 1") << 1;
        QTest::newRow("size 5") << 5;
    }

    void dealSolvedWithTheMouse()
    {
        QFETCH(int, size);
        GameWindow w(size);
        w.UsePuzzle("ЛЕВ ТОЛСТОЙ", "Писатель");
        w.StartNewPlayer();
        TForm1& f = w.form;

        QVERIFY(f.State().DealActive && !f.State().MenuActive);
        QCOMPARE(f.State().DealNumber, 1);
        QCOMPARE(f.State().Score, 1000);
        QCOMPARE(parts::Label(f, "LabelType")->text(), QStringLiteral("Писатель"));
        QCOMPARE(parts::Picture(f, "ImTick")->accessibleName(), QStringLiteral("Кон: 1 / 20"));
        QVERIFY(parts::Item(f, "Quit")->isEnabled() && parts::Item(f, "GenCount")->isEnabled()
                && parts::Item(f, "ChangeName")->isEnabled());
        QVERIFY(!parts::Button(f, "Button8")->isEnabled() && !parts::Button(f, "ButtonN")->isEnabled());
        QCOMPARE(w.Key("Ж")->accessibleName(), QStringLiteral("Ж"));
        QCOMPARE(parts::Button(f, "ButtonN")->accessibleName(), QStringLiteral("Дальше"));
        QCOMPARE(parts::Button(f, "Button8")->accessibleName(), QStringLiteral("Выход"));

        // Two misses: a point each, and the keys are spent.
        const QImage scoreBefore = parts::Picture(f, "ImGeld")->grab().toImage();
        w.Click("Я");
        w.Click("Ж");
        QCOMPARE(f.State().Score, 998);
        QCOMPARE(parts::Picture(f, "ImGeld")->accessibleName(), QStringLiteral("Счёт: 998"));
        QVERIFY(parts::Picture(f, "ImGeld")->grab().toImage() != scoreBefore);
        QVERIFY(!w.Key("Я")->isEnabled());
        QVERIFY(w.Key("Я")->text().isEmpty() && w.Key("Я")->Glyph().isNull());
        w.Click("Я");
        QCOMPARE(f.State().Score, 998);

        // A right letter opens its cells and draws them on the board.
        const vk::CellGrid grid =
            vk::CellGridFor(parts::Picture(f, "ImageRamka")->width(), parts::Picture(f, "ImageRamka")->height());
        const vk::ControlRect cell = vk::CellRect(grid, 4, 4); // the first О of ТОЛСТОЙ
        const QRect r(cell.Left, cell.Top, cell.Width, cell.Height);
        const QImage closed = w.Board().copy(r);
        w.Click("О");
        QCOMPARE(f.State().Deal.Cells.BoardMask[3], Cp("**#О###О#*"));
        QVERIFY(w.Board().copy(r) != closed);
        QCOMPARE(f.State().Score, 998);
        w.Shot(QStringLiteral("deal_in_progress_size%1").arg(size));

        w.Solve("ЛЕВТСЙ");
        QVERIFY(f.State().DealSolved);
        QCOMPARE(f.State().Score, 998);
        for (auto* key : parts::LetterKeys(f))
            QVERIFY(!key->isEnabled());
        QVERIFY(parts::Button(f, "Button8")->isEnabled() && parts::Button(f, "ButtonN")->isEnabled());
        w.Shot(QStringLiteral("deal_solved_size%1").arg(size));

        // "Дальше": the next deal, every key fresh again.
        input::Click(parts::Button(f, "ButtonN"), Qt::LeftButton);
        QCOMPARE(f.State().DealNumber, 2);
        QCOMPARE(f.State().Score, 998);
        QVERIFY(!f.State().DealSolved);
        QVERIFY(w.Key("Я")->isEnabled());
        QVERIFY(!parts::Button(f, "ButtonN")->isEnabled());
    }

    void dealSolvedWithTheKeyboard()
    {
        GameWindow w;
        w.UsePuzzle("КОТ");
        w.StartNewPlayer();
        TForm1& f = w.form;

        w.Type(QStringLiteral("ы"));
        QCOMPARE(f.State().Score, 999);
        // Ё (also from the Latin layout's ` and ~), digits, signs and a spent
        // letter, in either layout, change nothing.
        w.Type(QStringLiteral("ёЁ`~7/ыЫsS"));
        QCOMPARE(f.State().Score, 999);
        QCOMPARE(f.State().Deal.Cells.BoardMask[2], std::string("****###***"));
        w.Type(QStringLiteral("Ко"));
        QCOMPARE(f.State().Deal.Cells.BoardMask[2], Cp("****КО#***"));
        QVERIFY(!w.Key("К")->isEnabled() && !w.Key("О")->isEnabled());
        // The Latin layout left on: N is the key of Т.
        w.Type(QStringLiteral("N"));
        QVERIFY(f.State().DealSolved);
        QCOMPARE(f.State().Score, 999);
        // Keys are all off now; typing finds nothing to pick.
        w.Type(QStringLiteral("я"));
        QCOMPARE(f.State().Score, 999);
    }

    // Letters typed with the Latin layout on are the Russian letters on the
    // same keys: a whole deal played without switching layouts.
    void latinLayoutPlaysTheRussianKeys()
    {
        GameWindow w;
        w.UsePuzzle("ЖЮХЭБЪК");
        w.StartNewPlayer();
        TForm1& f = w.form;
        w.Type(QStringLiteral(";.['d,]R")); // ж ю х э в б ъ К
        QCOMPARE(f.State().Score, 999);     // only в missed
        QVERIFY(f.State().DealSolved);
    }

    // Letter keys never take the focus, so Space and Enter cannot pick a
    // letter; after the deal they press "Дальше" or "Выход" once the player
    // has moved the focus there.
    void spaceAndEnterNeverPickALetter()
    {
        GameWindow w;
        w.UsePuzzle("КОТ");
        w.StartNewPlayer();
        TForm1& f = w.form;
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        for (auto* key : parts::LetterKeys(f))
            QCOMPARE(key->focusPolicy(), Qt::NoFocus);

        auto press = [&f](Qt::Key key) { input::Key(&f, key); };
        w.Click("А");
        w.Type(QStringLiteral("т"));
        for (int round = 0; round < 3; ++round)
            for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
                press(key);
        QCOMPARE(f.State().Score, 999);
        for (const char* letter : {"Б", "В", "Я", "К", "О"})
            QVERIFY2(w.Key(letter)->isEnabled(), letter);
        for (auto* key : parts::LetterKeys(f))
            QVERIFY(!key->hasFocus());

        w.Solve("КО");
        QVERIFY(f.State().DealSolved);
        parts::Button(f, "ButtonN")->setFocus();
        press(Qt::Key_Space);
        QCOMPARE(f.State().DealNumber, 2);
        QVERIFY(!f.State().DealSolved);
        // A fresh deal: Space with the focus left where it was picks nothing.
        press(Qt::Key_Space);
        QCOMPARE(f.State().Score, 999);
        for (auto* key : parts::LetterKeys(f))
            QVERIFY(key->isEnabled());
    }

    void keyFacesFollowTheScale_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QSize>("key");
        QTest::addColumn<int>("glyph");
        QTest::newRow("size 1") << 1 << QSize(32, 30) << 0;
        QTest::newRow("size 3") << 3 << QSize(48, 45) << 28;
        QTest::newRow("size 5") << 5 << QSize(64, 60) << 40;
    }

    void keyFacesFollowTheScale()
    {
        QFETCH(int, size);
        QFETCH(QSize, key);
        QFETCH(int, glyph);
        GameWindow w(size);
        w.UsePuzzle("КОТ");
        w.StartNewPlayer();
        for (int k = 1; k <= vk::LetterKeys; ++k) {
            auto* button = parts::LetterKeys(w.form)[static_cast<std::size_t>(k - 1)];
            QCOMPARE(button->size(), key);
            QVERIFY(button->isVisible() && button->isEnabled());
            if (glyph == 0) {
                QCOMPARE(button->text(), QString(QChar(0x0410 + k - 1)));
                QVERIFY(button->Glyph().isNull());
            } else {
                QVERIFY(button->text().isEmpty());
                QCOMPARE(button->Glyph().size(), QSize(glyph, glyph));
            }
        }
        QCOMPARE(parts::Button(w.form, "Button8")->height(), 60);
        QCOMPARE(parts::Button(w.form, "ButtonN")->height(), 60);
    }

    void lastDealOffersOnlyExit()
    {
        GameWindow w;
        w.UsePuzzle("Я");
        w.StartNewPlayer();
        w.form.State().DealNumber = 19;
        w.Click("Я");
        QVERIFY(parts::Button(w.form, "ButtonN")->isEnabled());
        input::Click(parts::Button(w.form, "ButtonN"), Qt::LeftButton);
        QCOMPARE(w.form.State().DealNumber, 20);
        QCOMPARE(parts::Picture(w.form, "ImTick")->accessibleName(), QStringLiteral("Кон: 20 / 20"));
        w.Click("Я");
        QVERIFY(w.form.State().DealSolved);
        QVERIFY(parts::Button(w.form, "Button8")->isEnabled());
        QVERIFY(!parts::Button(w.form, "ButtonN")->isEnabled());
    }

    void emptyBoardShowsTheLineAndCostsNothing()
    {
        GameWindow w;
        w.UsePuzzle("ДОСТОПРИМЕЧАТЕЛЬНОСТЬ", "Длинное");
        w.StartNewPlayer();
        QCOMPARE(w.form.windowTitle(), QStringLiteral("ДОСТОПРИМЕЧАТЕЛЬНОСТЬ#Длинное#x#"));
        w.Click("Д");
        QCOMPARE(w.form.State().Score, 1000);
        QVERIFY(w.form.State().DealSolved);
        QVERIFY(parts::Button(w.form, "ButtonN")->isEnabled());
        // The next deal with cells gives the window its name back.
        w.UsePuzzle("КОТ");
        input::Click(parts::Button(w.form, "ButtonN"), Qt::LeftButton);
        QCOMPARE(w.form.windowTitle(), QStringLiteral("Вокаброн"));
    }

    void exitAfterDealSevenFilesTheGame()
    {
        GameWindow w;
        w.UsePuzzle("КОТ");
        w.StartNewPlayer("Иван");
        w.form.State().DealNumber = 6;
        w.Click("Я");
        w.Solve("КОТ");
        input::Click(parts::Button(w.form, "ButtonN"), Qt::LeftButton);
        QCOMPARE(w.form.State().DealNumber, 7);
        w.Solve("КОТ");
        input::Click(parts::Button(w.form, "Button8"), Qt::LeftButton);

        const vk::ClubLines club = w.Club();
        QCOMPARE(club[0].substr(0, 20), Cp("Иван") + std::string(16, ' '));
        QCOMPARE(club[0].substr(21, 8), std::string("     999"));
        QCOMPARE(club[0].substr(30, 3), std::string("  7"));
        QCOMPARE(club[0].substr(40), w.form.State().Local.CurrentPasswordCode);
        QVERIFY(w.form.State().MenuActive && !w.form.State().DealActive);
        QVERIFY(!parts::Item(w.form, "Quit")->isEnabled() && !parts::Item(w.form, "GenCount")->isEnabled());
        QVERIFY(parts::Picture(w.form, "ImageRamka")->isHidden() && parts::LetterKeys(w.form)[0]->isHidden()
                && parts::Button(w.form, "Button8")->isHidden());

        // The member continues it later: deal 8 with the same score, and the
        // line leaves the file while the game runs.
        w.form.State().MemberSlot = 1;
        w.form.State().MenuActive = false;
        w.form.State().DealActive = true;
        w.form.BeginDeal(false);
        QCOMPARE(w.form.State().DealNumber, 8);
        QCOMPARE(w.form.State().Score, 999);
        QCOMPARE(w.form.State().InitialScore, 999);
        QCOMPARE(w.form.State().Local.CurrentName, Cp("Иван") + std::string(16, ' '));
        QVERIFY(vk::IsEmptyMemberLine(w.Club()[0]));
    }

    void resumedLinePastTheLastDealEndsAtTheTwentieth()
    {
        GameWindow w;
        vk::ClubLines club = vk::EmptyClubFile();
        club[0] = vk::MakeMemberLine(Cp("Пётр"), 985, 7, vk::EncodePassword("ab"));
        club[1] = vk::MakeMemberLine(Cp("Оля"), 900, 3, vk::EncodePassword("cd"));
        club[2] = vk::MakeMemberLine(Cp("Лишний"), 800, 25, vk::EncodePassword("ef"));
        w.WriteClub(club);
        w.UsePuzzle("Я");

        w.form.State().MemberSlot = 1;
        w.form.State().MenuActive = false;
        w.form.State().DealActive = true;
        w.form.BeginDeal(false);
        QCOMPARE(w.form.State().DealNumber, 8);
        QCOMPARE(w.form.State().Score, 985);
        QCOMPARE(w.form.State().InitialScore, 985);
        QCOMPARE(w.Club()[0], club[1]);
        QCOMPARE(w.Club()[1], club[2]);

        QString seen;
        AnswerNextBox(QStringLiteral("Да"), &seen);
        w.form.QuitClick();
        w.form.State().MemberSlot = 2;
        w.form.State().MenuActive = false;
        w.form.State().DealActive = true;
        w.form.BeginDeal(false);
        QCOMPARE(w.form.State().DealNumber, 20);
        w.Click("Я");
        QVERIFY(!parts::Button(w.form, "ButtonN")->isEnabled());
    }

    void twentiethDealEntersTheTopTen()
    {
        GameWindow w;
        w.UsePuzzle("Я");
        w.StartNewPlayer("Чемпион");
        w.form.State().DealNumber = 19;
        w.Click("А");
        w.Click("Я");
        input::Click(parts::Button(w.form, "ButtonN"), Qt::LeftButton);
        w.Click("Я");
        // The end window, then the offer of the world top ten (a player
        // with a passport of his own is not asked for one first).
        w.form.Preferences().ServerNick = "Tester";
        QString endWindow, offerWindow;
        OnNextModal([&](QWidget* modal) {
            endWindow = modal->objectName();
            qobject_cast<QDialog*>(modal)->accept();
            OnNextModal([&offerWindow](QWidget* offer) {
                offerWindow = offer->objectName();
                qobject_cast<QDialog*>(offer)->accept();
            });
        });
        input::Click(parts::Button(w.form, "Button8"), Qt::LeftButton);
        QCOMPARE(endWindow, QStringLiteral("FormEndGame"));
        QCOMPARE(offerWindow, QStringLiteral("FormServerWrite"));
        QVERIFY(w.form.State().Local.GameComplete);
        QCOMPARE(w.form.State().Local.ResultPlace, 1);
        QCOMPARE(w.form.State().Local.ResultScore, 999);
        const vk::ClubLines club = w.Club();
        QCOMPARE(club[5], vk::MakeTopTenLine(Cp("Чемпион"), 999));
        QVERIFY(vk::IsEmptyMemberLine(club[0]));
        QVERIFY(w.form.State().MenuActive);
    }

    void scoreWindowAndNameChangeDuringAGame()
    {
        GameWindow w;
        w.UsePuzzle("КОТ");
        // A name that fills all 20 characters is offered whole.
        w.StartNewPlayer("Абвгдежзийклмнопрсту");
        w.Click("Я");

        // The score window: deal, starting score, score, and whether this
        // is a rating game.
        QString shown;
        QStringList values;
        QString rating;
        OnNextModal([&](QWidget* modal) {
            shown = modal->objectName();
            if (auto* count = qobject_cast<vk::TFormCount*>(modal)) {
                for (int i = 4; i < 8; ++i)
                    values
                        << testsupport::Find<QLabel>(*count, qPrintable(QStringLiteral("Label%1").arg(i + 1)))->text();
                rating = testsupport::Find<vk::PictureBox>(*count, "ImageTitle")->toolTip();
                input::Click(testsupport::Find<vk::TTevQuizButton>(*count, "Button1"));
            }
        });
        QVERIFY(input::ChooseFromPopup(&w.form, parts::Item(w.form, "GenCount")));
        QCOMPARE(shown, QStringLiteral("FormCount"));
        QCOMPARE(values, (QStringList{"1", "1000", "999", "999"}));
        QCOMPARE(rating, vk::UiText(vk::Msg::NotRatingGame));

        QString offered;
        QString box;
        OnNextModal([&](QWidget* modal) {
            auto* password = qobject_cast<vk::TFormPassword*>(modal);
            QVERIFY(password);
            offered = testsupport::Find<QLineEdit>(*password, "Edit1")->text();
            testsupport::Find<QLineEdit>(*password, "Edit1")->setText(QStringLiteral("Новое Имя"));
            testsupport::Find<QLineEdit>(*password, "Edit2")->setText(QStringLiteral("xy"));
            testsupport::Find<QLineEdit>(*password, "Edit3")->setText(QStringLiteral("xy"));
            AnswerNextBox(QStringLiteral("OK"), &box);
            input::Click(testsupport::Find<vk::TTevQuizButton>(*password, "Button1"));
        });
        QVERIFY(input::ChooseFromPopup(&w.form, parts::Item(w.form, "ChangeName")));
        QCOMPARE(offered, QStringLiteral("Абвгдежзийклмнопрсту"));
        QCOMPARE(box,
                 QStringLiteral("Ваше имя и/или пароль были успешно изменены!\n\rНовое имя: Новое Имя           "));
        QCOMPARE(w.form.State().Local.CurrentName, vk::PadRight(Cp("Новое Имя"), 20));
        QCOMPARE(w.form.State().Local.CurrentPasswordCode, vk::EncodePassword("xy"));
        // The game goes on where it was, under the new name.
        QVERIFY(w.form.State().DealActive);
        QCOMPARE(w.form.State().Score, 999);
        w.Solve("КОТ");
        input::Click(parts::Button(w.form, "Button8"), Qt::LeftButton);
        QCOMPARE(vk::MemberName(w.Club()[0]), vk::PadRight(Cp("Новое Имя"), 20));
    }

    // Until the main menu is built, its stand-in starts and resumes games.
    void menuStartsAndResumesWithThePassword()
    {
        GameWindow w;
        w.UsePuzzle("КОТ");
        QVERIFY(parts::Button(w.form, "Button6")->isVisible());

        OnNextModal([](QWidget* modal) {
            auto* password = qobject_cast<vk::TFormPassword*>(modal);
            QVERIFY(password);
            testsupport::Find<QLineEdit>(*password, "Edit1")->setText(QStringLiteral("Маша"));
            testsupport::Find<QLineEdit>(*password, "Edit2")->setText(QStringLiteral("pw"));
            testsupport::Find<QLineEdit>(*password, "Edit3")->setText(QStringLiteral("pw"));
            input::Click(testsupport::Find<vk::TTevQuizButton>(*password, "Button1"));
        });
        input::Click(parts::Button(w.form, "Button6"), Qt::LeftButton);
        QVERIFY(w.form.State().DealActive);
        QVERIFY(parts::Button(w.form, "Button6")->isHidden() && parts::MemberLines(w.form)[0]->isHidden());
        w.Solve("КОТ");
        input::Click(parts::Button(w.form, "Button8"), Qt::LeftButton);
        QVERIFY(w.form.State().MenuActive);
        QVERIFY(parts::MemberLines(w.form)[0]->text().startsWith(QStringLiteral("Маша")));

        // A wrong password keeps the window open; the right one resumes.
        OnNextModal([](QWidget* modal) {
            auto* password = qobject_cast<vk::TFormPassword*>(modal);
            QVERIFY(password);
            testsupport::Find<QLineEdit>(*password, "Edit2")->setText(QStringLiteral("no"));
            input::Click(testsupport::Find<vk::TTevQuizButton>(*password, "Button1"));
            QVERIFY(password->isVisible());
            testsupport::Find<QLineEdit>(*password, "Edit2")->setText(QStringLiteral("pw"));
            input::Click(testsupport::Find<vk::TTevQuizButton>(*password, "Button1"));
        });
        input::Click(parts::MemberLines(w.form)[0], Qt::LeftButton);
        QVERIFY(w.form.State().DealActive);
        QCOMPARE(w.form.State().DealNumber, 2);
        QCOMPARE(w.form.State().Score, 1000);
    }

    // A right click through the window, as a player makes it, opens the
    // popup on the menu and anywhere in a deal: over the board, a letter key,
    // a button and the bare window.
    void rightClickOpensThePopupOnTheMenuAndInADeal()
    {
        GameWindow w;
        TForm1& f = w.form;
        QPointer<QMenu> menu = input::RightClick(&f);
        QVERIFY(menu);
        QCOMPARE(menu.data(), parts::Popup(f));
        QVERIFY(parts::Item(f, "Help")->isEnabled());
        QVERIFY(!parts::Item(f, "Quit")->isEnabled() && !parts::Item(f, "GenCount")->isEnabled()
                && !parts::Item(f, "ChangeName")->isEnabled());
        menu->close();

        w.UsePuzzle("КОТ");
        w.StartNewPlayer();
        w.Click("К");
        for (QWidget* where : std::initializer_list<QWidget*>{parts::Picture(f, "ImageRamka"), w.Key("Я"),
                                                              parts::Label(f, "LabelType"), &f}) {
            menu = input::RightClick(where, where == &f ? QPoint(3, 3) : QPoint());
            QVERIFY2(menu, qPrintable(where->objectName()));
            QVERIFY(parts::Item(f, "Quit")->isEnabled() && parts::Item(f, "GenCount")->isEnabled()
                    && parts::Item(f, "ChangeName")->isEnabled());
            menu->close();
        }
        // Help in a deal opens at the rules.
        QVERIFY(input::ChooseFromPopup(&f, parts::Item(f, "Help")));
        QVERIFY(f.findChild<vk::THelpWindow*>() && f.findChild<vk::THelpWindow*>()->isVisible());
        QCOMPARE(testsupport::Find<QTextBrowser>(*f.findChild<vk::THelpWindow*>(), "HelpBrowser")->source(),
                 QUrl(QStringLiteral("qrc:/help/rules.html")));
        f.findChild<vk::THelpWindow*>()->close();
        // The right clicks picked nothing and cost nothing.
        QCOMPARE(f.State().Score, 1000);
        QVERIFY(w.Key("Я")->isEnabled());
        QVERIFY(f.State().DealActive);

        // Over the buttons of a solved deal too.
        w.Solve("ОТ");
        QVERIFY(f.State().DealSolved && parts::Button(f, "Button8")->isVisible());
        menu = input::RightClick(parts::Button(f, "Button8"));
        QVERIFY(menu);
        QVERIFY(parts::Item(f, "Quit")->isEnabled());
        menu->close();
        QVERIFY(f.State().DealActive && f.State().DealSolved);
    }

    void exitToMenuAsksFirst()
    {
        GameWindow w;
        w.UsePuzzle("КОТ");
        w.StartNewPlayer();
        w.Click("Я");
        w.Click("К");

        QString seen;
        AnswerNextBox(QStringLiteral("Нет"), &seen);
        QVERIFY(input::ChooseFromPopup(&w.form, parts::Item(w.form, "Quit")));
        QVERIFY(seen.startsWith(QStringLiteral("Вы хотите выйти в главное меню?")));
        QVERIFY(seen.endsWith(QStringLiteral("Все данные при этом будут утеряны!")));
        QVERIFY(w.form.State().DealActive && !w.form.State().MenuActive);
        QCOMPARE(w.form.State().Score, 999);
        QVERIFY(parts::Picture(w.form, "ImageRamka")->isVisible() && parts::LetterKeys(w.form)[0]->isVisible());
        QVERIFY(!w.Key("К")->isEnabled() && w.Key("О")->isEnabled());

        const vk::ClubLines before = w.Club();
        AnswerNextBox(QStringLiteral("Да"), &seen);
        QVERIFY(input::ChooseFromPopup(&w.form, parts::Item(w.form, "Quit")));
        QVERIFY(w.form.State().MenuActive && !w.form.State().DealActive);
        QVERIFY(parts::Picture(w.form, "ImageRamka")->isHidden() && parts::LetterKeys(w.form)[0]->isHidden());
        QVERIFY(!parts::Item(w.form, "Quit")->isEnabled() && !parts::Item(w.form, "ChangeName")->isEnabled());
        QCOMPARE(w.Club(), before);
    }
};

QTEST_MAIN(GameScreenTest)
#include "game_screen_test.moc"
