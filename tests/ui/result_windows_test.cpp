// The top ten, score, end-of-game and About windows: their texts, colours,
// positions and sounds at the edge cases.
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QtTest>

#include "ui/kit/link_opener.h"

#include "common/codepage.h"
#include "common/text_lines.h"
#include "ui/localdata/about_window.h"
#include "logic/localdata/club_file.h"
#include "ui/localdata/count_window.h"
#include "ui/localdata/end_game_window.h"
#include "ui/localdata/top_ten_window.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/audio.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "window_test_support.h"

using namespace vk;
using testsupport::CountColour;

namespace {

std::string Cp(const char* utf8) { return *Utf8ToCp1251(utf8); }

const QColor kBlue(0, 0, 255);
const QColor kNavy(0, 0, 128);

// The columns of a text row that hold pixels of Colour.
std::pair<int, int> InkSpan(const QImage& image, int top, int height, const QColor& colour)
{
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        if (CountColour(image, QRect(x, top, 1, height), colour) > 0) {
            if (first < 0)
                first = x;
            last = x;
        }
    return {first, last};
}

} // namespace

class ResultWindowsTest : public QObject {
    Q_OBJECT

    QImage background;
    QTemporaryDir folder;

    std::string WriteTopTen()
    {
        ClubLines lines = EmptyClubFile();
        const int scores[10] = {1990, 1500, 1400, 1300, 1200, 1100, 1000, 950, 920, 900};
        for (int r = 0; r < 10; ++r)
            lines[static_cast<std::size_t>(MemberCount + r)] = MakeTopTenLine(Cp("Игрок"), scores[r]);
        // Place 4 holds a name of the whole 20 characters.
        lines[MemberCount + 3] = MakeTopTenLine(Cp("Иванов Иван Иванович"), 1300);
        SealClubFile(lines);
        const std::string path = folder.filePath(QStringLiteral("Vokabron.clb")).toStdString();
        QFile f(QString::fromStdString(path));
        if (f.open(QIODevice::WriteOnly)) {
            const std::string bytes = ClubFileBytes(lines);
            f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        }
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        background = testsupport::Background();
        InstallOwnFont(folder.path().toStdString() + "/");
    }

    void topTenList()
    {
        Settings prefs;
        TFormTopTen w(prefs, background);
        w.Prepare(WriteTopTen());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(testsupport::SaveGrab(w, QStringLiteral("top_ten")));
        QCOMPARE(w.windowTitle(), QStringLiteral("Чемпионы"));
        QCOMPARE(w.size(), QSize(520, 500));
        QCOMPARE(testsupport::Find<vk::PictureBox>(w, "Image1")->geometry(), QRect(5, 85, 510, 375));
        QCOMPARE(testsupport::Find<vk::TTevQuizButton>(w, "Button1")->geometry(), QRect(5, 465, 510, 30));
        QVERIFY(testsupport::Find<vk::AnimationPlayer>(w, "RxGIFAn1")->HasAnimation());

        const QImage list = testsupport::Find<vk::PictureBox>(w, "Image1")->Canvas();
        const int rowHeight = 25;
        for (int r = 1; r <= 10; ++r) {
            const int y = 40 + 25 * r;
            const QColor colour = r <= 3 ? kBlue : kNavy;
            const QColor other = r <= 3 ? kNavy : kBlue;
            const auto [first, last] = InkSpan(list, y, rowHeight, colour);
            QVERIFY2(first >= 65 && first <= 72, qPrintable(QString("row %1 starts at %2").arg(r).arg(first)));
            // The score ends at x = 450 whatever the name's length.
            QVERIFY2(last >= 446 && last < 450, qPrintable(QString("row %1 ends at %2").arg(r).arg(last)));
            QCOMPARE(CountColour(list, QRect(0, y + 3, 510, 16), other), 0);
        }
        // The 20-character name of place 4 is written whole from x = 95.
        const auto name = InkSpan(list.copy(0, 140, 380, 25), 0, 25, kNavy);
        QVERIFY(name.first >= 65 && name.second > 300);
    }

    void topTenWithoutAFile()
    {
        Settings prefs;
        TFormTopTen w(prefs, background);
        w.Prepare(folder.filePath(QStringLiteral("missing.clb")).toStdString());
        const QImage list = testsupport::Find<vk::PictureBox>(w, "Image1")->Canvas();
        // The place numbers only.
        const auto [first, last] = InkSpan(list, 65, 25, kBlue);
        QVERIFY(first >= 65 && last < 95);
        QCOMPARE(CountColour(list, QRect(95, 60, 400, 240), kNavy), 0);
    }

    void scoreWindow()
    {
        Settings prefs;
        TFormCount w(prefs, background);
        // The name's padding to its field is not part of the caption; its
        // own blanks are.
        w.Prepare({PadRight(Cp("Иван Петров"), 20), 7, 1000, 985, 1});
        QCOMPARE(w.windowTitle(), QStringLiteral("Игрок:  Иван Петров"));
        w.Prepare({Cp("Анна-Мария Карамзина"), 7, 1000, 985, 1});
        QCOMPARE(w.windowTitle(), QStringLiteral("Игрок:  Анна-Мария Карамзина"));
        for (int state : {1, 3}) {
            w.Prepare({PadRight(Cp("Петя"), 20), 7, 1000, 985, state});
            QCOMPARE(w.windowTitle(), QStringLiteral("Игрок:  Петя"));
            QCOMPARE(testsupport::Find<vk::PictureBox>(w, "ImageTitle")->toolTip(),
                     state == 3 ? QStringLiteral("Идет игра на рейтинг!") : QStringLiteral("Игра не на рейтинг!"));
        }
        const QString names[4] = {"Общий номер кона:", "Начальный счёт:", "Текущий счёт:", "Общий счёт:"};
        const QString values[4] = {"7", "1000", "985", "985"};
        const int ys[4] = {170, 205, 240, 275};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("Label%1").arg(i + 1)))->text(), names[i]);
            QCOMPARE(testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("Label%1").arg(i + 1)))->x(), 70);
            QCOMPARE(testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("Label%1").arg(i + 1)))->y(), ys[i]);
            QCOMPARE(testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("Label%1").arg(i + 4 + 1)))->text(),
                     values[i]);
            QCOMPARE(
                testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("Label%1").arg(i + 4 + 1)))->geometry().right()
                    + 1,
                430);
            QVERIFY(testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("Label%1").arg(i + 4 + 1)))->alignment()
                    & Qt::AlignRight);
            QCOMPARE(testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("Label%1").arg(i + 1)))
                         ->palette()
                         .color(QPalette::WindowText),
                     QColor(255, 255, 0));
            QCOMPARE(testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("Label%1").arg(i + 4 + 1)))
                         ->palette()
                         .color(QPalette::WindowText),
                     QColor(255, 255, 255));
        }
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(testsupport::SaveGrab(w, QStringLiteral("score")));
    }

    void endOfGame_data()
    {
        QTest::addColumn<int>("clubState");
        QTest::addColumn<int>("place");
        QTest::addColumn<int>("bonus");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<int>>("ys");
        QTest::addColumn<QList<int>>("sounds");
        QTest::addColumn<bool>("resultLineNarrow");

        QTest::newRow("first place") << 1 << 1 << 0
                                     << QStringList{"ПОЗДРАВЛЯЕМ!!!", "Ваш результат лучший!",
                                                    "Результат: 1180 ;  Место: 1",
                                                    "Вы становитесь председателем клуба!"}
                                     << QList<int>{50, 90, 120, 150} << QList<int>{4} << false;
        QTest::newRow("tenth place") << 1 << 10 << 0
                                     << QStringList{"ПОЗДРАВЛЯЕМ!!!", "Хороший результат!",
                                                    "Результат: 1180 ;  Место: 10",
                                                    "Вы попали в десятку лучших игроков!"}
                                     << QList<int>{50, 90, 120, 150} << QList<int>{4} << false;
        QTest::newRow("not placed") << 1 << 0 << 0
                                    << QStringList{"Наши сожаления...", "Ваш результат не очень...", "Результат: 1180",
                                                   "Вы не попали в десятку лучших игроков..."}
                                    << QList<int>{50, 90, 120, 150} << QList<int>{3} << false;
        QTest::newRow("club place 37, no reward")
            << 3 << 37 << 0
            << QStringList{"Наши сожаления...", "Ваш результат не очень...", "Результат: 1180 ; Место: 37",
                           "Вы не попали в десятку лучших игроков..."}
            << QList<int>{50, 90, 120, 150} << QList<int>{3, 3} << true;
        QTest::newRow("club reward failed")
            << 3 << 4 << -1
            << QStringList{"ПОЗДРАВЛЯЕМ!!!", "Хороший результат!", "Результат: 1180 ;  Место: 4",
                           "Вы попали в десятку лучших игроков!"}
            << QList<int>{50, 90, 120, 150} << QList<int>{4} << false;
        QTest::newRow("club first place, 25 Tevs")
            << 3 << 1 << 25
            << QStringList{"ПОЗДРАВЛЯЕМ!!!", "Ваш результат лучший!", "Результат: 1180 ;  Место: 1",
                           "Вы становитесь председателем клуба!", "Вы заработали 25 Тевов!!!"}
            << QList<int>{45, 80, 105, 130, 160} << QList<int>{4, 4} << false;
        // A negative place is no place in the top ten either.
        QTest::newRow("a place below 1") << 3 << -2 << 0
                                         << QStringList{"Наши сожаления...", "Ваш результат не очень...",
                                                        "Результат: 1180", "Вы не попали в десятку лучших игроков..."}
                                         << QList<int>{50, 90, 120, 150} << QList<int>{3, 3} << false;
    }

    void endOfGame()
    {
        QFETCH(int, clubState);
        QFETCH(int, place);
        QFETCH(int, bonus);
        QFETCH(QStringList, lines);
        QFETCH(QList<int>, ys);
        QFETCH(QList<int>, sounds);
        QFETCH(bool, resultLineNarrow);

        Settings prefs;
        TFormEndGame w(prefs, background);
        QList<int> played;
        w.PlaySound = [&played](int n) { played << n; };
        LocalClubState state;
        state.ResultScore = 1180;
        state.ResultPlace = place;
        state.ResultBonus = bonus;
        w.Prepare(state, clubState);

        QCOMPARE(w.windowTitle(), QStringLiteral("Окончание игры"));
        QCOMPARE(int(w.Written().size()), lines.size());
        for (int i = 0; i < lines.size(); ++i) {
            const auto& line = w.Written()[static_cast<std::size_t>(i)];
            QCOMPARE(line.Text, lines[i]);
            QCOMPARE(line.Y, ys[i]);
        }
        const bool good = place >= 1 && place <= 10;
        QCOMPARE(w.Written()[0].Colour, QColor(128, 0, 0));
        QCOMPARE(w.Written()[0].Height, 24);
        QCOMPARE(w.Written()[1].Colour, good ? QColor(255, 0, 0) : QColor(0, 0, 255));
        QCOMPARE(w.Written()[1].Height, 16);
        QCOMPARE(w.Written()[2].X1, resultLineNarrow ? 20 : 0);
        QCOMPARE(w.Written()[2].X2, resultLineNarrow ? 280 : 306);
        if (lines.size() == 5) {
            QCOMPARE(w.Written()[4].Colour, QColor(0, 128, 0));
            QCOMPARE(w.Written()[4].Height, 20);
            QCOMPARE(w.Written()[4].X1, 20);
        }
        QCOMPARE(played, sounds);

        // The heading is on the canvas in maroon, at its row.
        const QImage text = testsupport::Find<vk::PictureBox>(w, "Image1")->Canvas();
        QVERIFY(CountColour(text, QRect(0, ys[0], 306, 26), QColor(128, 0, 0)) > 50);
        QCOMPARE(CountColour(text, QRect(0, 0, 306, ys[0] - 2), QColor(128, 0, 0)), 0);
        // In a club game it stays clear of the two pictures beside it.
        if (clubState == 3)
            for (const QRect picture : {QRect(40, 40, 32, 32), QRect(234, 40, 32, 32)})
                QCOMPARE(CountColour(text, picture, QColor(128, 0, 0)), 0);

        // With the sound off nothing plays at all.
        prefs.SoundOn = false;
        played.clear();
        w.Prepare(state, clubState);
        QVERIFY(played.isEmpty());

        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(testsupport::Find<vk::AnimationPlayer>(w, "RxGIFAn1")->HasAnimation()
                && testsupport::Find<vk::AnimationPlayer>(w, "RxGIFAn2")->HasAnimation());
        QVERIFY(testsupport::SaveGrab(
            w, QStringLiteral("end_game_")
                   + QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_').replace(',', QString())));
        QTest::mouseClick(testsupport::Find<vk::TTevQuizButton>(w, "Button1"), Qt::LeftButton);
        QVERIFY(!testsupport::Find<vk::AnimationPlayer>(w, "RxGIFAn1")->HasAnimation());
    }

    void aboutWindow()
    {
        Settings prefs;
        TFormAbout w(prefs, background);
        QStringList opened;
        bool handlerStarts = true;
        const vk::DesktopOpener desktop = vk::SetDesktopOpener([&](const QUrl& address) {
            opened << address.toString();
            return handlerStarts;
        });
        const auto restore = qScopeGuard([&desktop] { vk::SetDesktopOpener(desktop); });
        QCOMPARE(w.windowTitle(), QStringLiteral("О Программе"));
        QCOMPARE(w.size(), QSize(525, 720));
        QCOMPARE(testsupport::Find<QLabel>(w, "LabelVersion")->text(), QStringLiteral("V 4.3"));
        QCOMPARE(testsupport::Find<QLabel>(w, "LabelDate")->text(), QStringLiteral("29 Мая, 2025"));
        QCOMPARE(testsupport::Find<QLabel>(w, "LabelThanksTitle")->text(), QStringLiteral("Отдельное спасибо:"));
        QCOMPARE(testsupport::Find<QLabel>(w, "LabelThanks")->text(),
                 QStringLiteral("В программе было использовано\nмного графических, звуковых и\n"
                                "музыкальных фрагментов.\nСпасибо их авторам."));
        QCOMPARE(testsupport::Find<QLabel>(w, "LabelThanks")->toolTip(), QStringLiteral("Подробнее в помощи"));
        QCOMPARE(testsupport::Find<QLabel>(w, "LabelSite")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(testsupport::Find<QLabel>(w, "LabelMail")->cursor().shape(), Qt::PointingHandCursor);

        // A build with addresses of its own shows them and opens them.
        w.SetContacts(QStringLiteral("https://games.example.org/vokabron"), QStringLiteral("team@example.org"));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(testsupport::Find<vk::AnimationPlayer>(w, "RxGIFAn1")->HasAnimation()
                && testsupport::Find<vk::AnimationPlayer>(w, "RxGIFAn2")->HasAnimation());
        QVERIFY(testsupport::Find<QLabel>(w, "LabelSiteTitle")->isVisible()
                && testsupport::Find<QLabel>(w, "LabelMailTitle")->isVisible()
                && testsupport::Find<QLabel>(w, "LabelMail")->isVisible());
        QCOMPARE(testsupport::Find<QLabel>(w, "LabelSite")->text(),
                 QStringLiteral("https://games.example.org/vokabron"));
        QVERIFY(testsupport::SaveGrab(w, QStringLiteral("about")));
        QTest::mouseClick(testsupport::Find<QLabel>(w, "LabelSite"), Qt::LeftButton);
        QTest::mouseClick(testsupport::Find<QLabel>(w, "LabelMail"), Qt::LeftButton);
        QCOMPARE(opened, (QStringList{QStringLiteral("https://games.example.org/vokabron"),
                                      QStringLiteral("mailto:team@example.org")}));

        // No mail handler: the player is told.
        handlerStarts = false;
        QString told;
        testsupport::AnswerModal<QMessageBox>([&told](QMessageBox* box) {
            told = box->text();
            box->accept();
        });
        QTest::mouseClick(testsupport::Find<QLabel>(w, "LabelMail"), Qt::LeftButton);
        QCOMPARE(told, QStringLiteral("Auto method failed."));
        QVERIFY(w.isVisible());
        QVERIFY(w.HelpPageAsked().isEmpty());
    }

    // The build names no addresses by default: no click leads anywhere
    // outside the program.  The site line opens the built-in help's
    // contents; the mail line and its title are not there.
    void aboutWindowWithoutAddresses()
    {
        Settings prefs;
        TFormAbout w(prefs, background);
        QStringList opened;
        const vk::DesktopOpener desktop = vk::SetDesktopOpener([&](const QUrl& address) {
            opened << address.toString();
            return true;
        });
        const auto restore = qScopeGuard([&desktop] { vk::SetDesktopOpener(desktop); });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!testsupport::Find<QLabel>(w, "LabelMail")->isVisible()
                && !testsupport::Find<QLabel>(w, "LabelMailTitle")->isVisible()
                && !testsupport::Find<vk::AnimationPlayer>(w, "RxGIFAn2")->isVisible());
        QVERIFY(!testsupport::Find<QLabel>(w, "LabelSiteTitle")->isVisible());
        QVERIFY(testsupport::Find<QLabel>(w, "LabelSite")->isVisible());
        QCOMPARE(testsupport::Find<QLabel>(w, "LabelSite")->text(), QStringLiteral("Помощь"));
        QVERIFY(testsupport::SaveGrab(w, QStringLiteral("about_without_addresses")));
        QTest::mouseClick(testsupport::Find<QLabel>(w, "LabelMail"), Qt::LeftButton);
        QVERIFY(w.isVisible());
        QTest::mouseClick(testsupport::Find<QLabel>(w, "LabelSite"), Qt::LeftButton);
        QVERIFY(opened.isEmpty());
        QVERIFY(!w.isVisible());
        QCOMPARE(w.HelpPageAsked(), QStringLiteral("index.html"));
    }

    // Our display font is wider and taller than the one the layout was made
    // for: every text stays inside its box's width, no text reaches into
    // the one above or below it, and "Ok" keeps clear of the bottom edge.
    void aboutTextsStayInTheirBoxes()
    {
        Settings prefs;
        TFormAbout w(prefs, background);
        w.SetContacts(QStringLiteral("https://games.example.org/a-rather-long-address/vokabron"),
                      QStringLiteral("players.and.friends@example.org"));
        QList<QLabel*> labels;
        for (QLabel* l : w.findChildren<QLabel*>())
            if (!l->isHidden())
                labels << l;
        QCOMPARE(labels.size(), 15);
        for (QLabel* l : labels) {
            const QRect box = l->property("box").toRect();
            QVERIFY2(box.isValid(), qPrintable(l->objectName()));
            QCOMPARE(l->x(), box.x());
            QCOMPARE(l->width(), box.width());
            QCOMPARE(l->y(), box.y());
            for (const QString& line : l->text().split(QLatin1Char('\n')))
                QVERIFY2(l->fontMetrics().horizontalAdvance(line) <= box.width() - 4, qPrintable(l->objectName()));
        }
        // The rows of text, top to bottom in each column, by where their
        // letters are drawn.
        auto ink = [](QLabel* l) {
            const QRect text = l->fontMetrics().boundingRect(l->rect(), int(l->alignment()), l->text());
            return text.translated(l->pos()).adjusted(0, l->fontMetrics().leading(), 0, 0);
        };
        const QList<QList<QLabel*>> columns = {
            {testsupport::Find<QLabel>(w, "LabelVersion"), testsupport::Find<QLabel>(w, "LabelDate"),
             testsupport::Find<QLabel>(w, "LabelPlace")},
            {testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("LabelCredit%1").arg(0 + 1))),
             testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("LabelCredit%1").arg(1 + 1))),
             testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("LabelCredit%1").arg(2 + 1))),
             testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("LabelCredit%1").arg(3 + 1))),
             testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("LabelCredit%1").arg(4 + 1))),
             testsupport::Find<QLabel>(w, qPrintable(QStringLiteral("LabelCredit%1").arg(5 + 1))),
             testsupport::Find<QLabel>(w, "LabelThanksTitle"), testsupport::Find<QLabel>(w, "LabelThanks")},
            {testsupport::Find<QLabel>(w, "LabelSiteTitle"), testsupport::Find<QLabel>(w, "LabelSite"),
             testsupport::Find<QLabel>(w, "LabelMailTitle"), testsupport::Find<QLabel>(w, "LabelMail")},
        };
        for (const auto& column : columns)
            for (int i = 1; i < column.size(); ++i)
                QVERIFY2(ink(column[i - 1]).bottom() < ink(column[i]).top(),
                         qPrintable(column[i - 1]->objectName() + QStringLiteral(" / ") + column[i]->objectName()));
        // The envelope stays left of the mail lines.
        QVERIFY(testsupport::Find<vk::AnimationPlayer>(w, "RxGIFAn2")->geometry().right()
                < testsupport::Find<QLabel>(w, "LabelMailTitle")->x());
        QVERIFY(testsupport::Find<vk::AnimationPlayer>(w, "RxGIFAn2")->geometry().right()
                < testsupport::Find<QLabel>(w, "LabelMail")->x());
        QVERIFY(testsupport::SaveGrab(w, QStringLiteral("about_long_addresses")));
    }

    // Every button of the windows that close with "Ok" lies inside the
    // client area with room below it.
    void okButtonsKeepClearOfTheEdges()
    {
        Settings prefs;
        TFormAbout about(prefs, background);
        TFormTopTen topTen(prefs, background);
        TFormCount count(prefs, background);
        for (QDialog* w : std::initializer_list<QDialog*>{&about, &topTen, &count})
            for (QPushButton* b : w->findChildren<QPushButton*>()) {
                const QRect r = b->geometry();
                const QString where = w->objectName() + QLatin1Char('.') + b->objectName();
                QVERIFY2(r.left() >= 5 && r.right() <= w->width() - 6, qPrintable(where));
                QVERIFY2(r.top() >= 0 && r.bottom() <= w->height() - 6, qPrintable(where));
            }
    }
};

QTEST_MAIN(ResultWindowsTest)
#include "result_windows_test.moc"
