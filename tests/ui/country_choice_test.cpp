// The country lists shared by the passport and account windows, and the
// flag and sex pictures of the club's boards.
#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QtTest>

#include "ui/club/country_choice.h"
#include "ui/club/country_flags.h"
#include "ui/game/screen_scaling.h"

using namespace vk;

namespace {

QImage White(int w, int h)
{
    QImage canvas(w, h, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    return canvas;
}

// The flag as a canvas shows it, drawn over white.
QImage FlagOverWhite(const char* code)
{
    QImage canvas = White(14, 12);
    QPainter p(&canvas);
    p.drawImage(0, 0, CountryFlagPicture(code));
    return canvas;
}

// Picks item `index` of the list as the player does: the list is opened
// and the item clicked.
void Pick(QComboBox* list, int index)
{
    list->showPopup();
    QAbstractItemView* view = list->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    const QRect r = view->visualRect(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    QTRY_VERIFY(!view->isVisible());
}

} // namespace

class CountryChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void flagsAndFacesAreDrawnWhereAsked()
    {
        for (const char* code : {"1-001", "4-007", "6-054", "6-012"}) {
            const QImage flag = CountryFlagPicture(code);
            QCOMPARE(flag.size(), QSize(14, 12));
            QImage canvas = White(40, 30);
            QPainter p(&canvas);
            DrawCountryFlag(code, 10, 5, p);
            p.end();
            QCOMPARE(canvas.copy(10, 5, 14, 12), FlagOverWhite(code));
        }
        QVERIFY(CountryFlagPicture("1-001") != CountryFlagPicture("1-002"));
        // A code that does not parse draws nothing.
        for (const char* code : {"7-001", "1-049", "-01", "Russia", ""}) {
            QImage canvas = White(40, 30);
            QPainter p(&canvas);
            DrawCountryFlag(code, 10, 5, p);
            p.end();
            QCOMPARE(canvas, White(40, 30));
        }
        QImage man = White(20, 20), woman = White(20, 20), other = White(20, 20);
        {
            QPainter a(&man), b(&woman), c(&other);
            DrawSexIcon("M", 2, 2, a);
            DrawSexIcon("W", 2, 2, b);
            DrawSexIcon("x", 2, 2, c);
        }
        QVERIFY(man != White(20, 20));
        QVERIFY(man != woman);
        QCOMPARE(other, woman);
        // Nothing outside the 16 x 16 face.
        QCOMPARE(man.copy(0, 0, 20, 2), White(20, 2));
        QCOMPARE(man.copy(18, 0, 2, 20), White(2, 20));
    }

    void showingACodeNeverReportsAChoice()
    {
        QWidget window;
        CountryChoice choice(&window, QStringLiteral("ComboBox1"), QStringLiteral("ComboBox2"));
        QSignalSpy chosen(&choice, &CountryChoice::chosen);
        QCOMPARE(choice.ContinentList()->objectName(), QStringLiteral("ComboBox1"));
        QCOMPARE(choice.CountryList()->objectName(), QStringLiteral("ComboBox2"));
        QCOMPARE(choice.ContinentList()->count(), 6);
        QCOMPARE(choice.ContinentList()->itemText(2), QStringLiteral("Северная Америка"));

        const struct {
            const char* code;
            int continentIndex, countries, row;
            const char* name;
        } cases[] = {
            {"1-001", 0, 49, 1, "Russia"},
            {"6-012", 5, 55, 12, "Congo Republic"},
            {"4-014", 3, 15, 14, "Venezuela"},
            {"5-000", 4, 24, 0, "Unknown"},
            // Codes that do not parse: row 0, of continent 1 unless the
            // first character names another.
            {"-01", 0, 49, 0, "Unknown"},
            {"2-099", 1, 52, 0, "Unknown"},
            {"#", 0, 49, 0, "Unknown"},
        };
        for (const auto& c : cases) {
            choice.ShowCode(c.code);
            QCOMPARE(choice.ContinentList()->currentIndex(), c.continentIndex);
            QCOMPARE(choice.CountryList()->count(), c.countries);
            QCOMPARE(choice.CountryList()->currentIndex(), c.row);
            QCOMPARE(choice.CountryList()->currentText(), QString::fromLatin1(c.name));
        }
        QCOMPARE(chosen.count(), 0);
    }

    void thePlayersPicksWriteTheCode()
    {
        QWidget window;
        window.resize(400, 300);
        CountryChoice choice(&window, QStringLiteral("ComboContinent"), QStringLiteral("ComboCountry"));
        choice.ContinentList()->setGeometry(10, 10, 170, 26);
        choice.CountryList()->setGeometry(10, 40, 170, 26);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        choice.ShowCode("1-001");
        QSignalSpy chosen(&choice, &CountryChoice::chosen);
        auto lastCode = [&] {
            const auto args = chosen.last();
            return CountryCodeOf({args.at(0).toInt(), args.at(1).toInt()});
        };

        // The sixth continent: its row 0, then the country of index 7.
        Pick(choice.ContinentList(), 5);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(lastCode(), std::string("6-000"));
        QCOMPARE(choice.CountryList()->count(), 55);
        QCOMPARE(choice.CountryList()->currentIndex(), 0);
        Pick(choice.CountryList(), 7);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(lastCode(), std::string("6-007"));
        QCOMPARE(CountryRow(6, 7).Key, std::string_view("Cameroon"));

        // The continent already shown again keeps the country.
        Pick(choice.ContinentList(), 5);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(choice.CountryList()->currentIndex(), 7);

        // A code that did not parse is written once the player picks, even
        // the continent the lists already show.
        choice.ShowCode("1-0x1");
        Pick(choice.ContinentList(), 0);
        QCOMPARE(chosen.count(), 3);
        QCOMPARE(lastCode(), std::string("1-000"));
    }

    void countryItemsShowTheirFlags()
    {
        QWidget window;
        CountryChoice choice(&window, QStringLiteral("ComboBox1"), QStringLiteral("ComboBox2"));
        choice.ShowCode("4-007");
        QAbstractItemDelegate* delegate = choice.CountryList()->itemDelegate();
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 170, CountryChoice::ItemHeight);
        option.palette.setColor(QPalette::Base, QColor(200, 255, 255));
        option.palette.setColor(QPalette::Text, QColor(0, 0, 100));
        option.font = choice.CountryList()->font();
        const QModelIndex item = choice.CountryList()->model()->index(7, 0);
        QCOMPARE(delegate->sizeHint(option, item).height(), 18);

        QImage canvas = White(170, 18);
        QPainter p(&canvas);
        delegate->paint(&p, option, item);
        p.end();
        // The flag 2 pixels in from the corner, over the list's background.
        QImage expected(14, 12, QImage::Format_RGB32);
        expected.fill(QColor(200, 255, 255));
        {
            QPainter e(&expected);
            e.drawImage(0, 0, CountryFlagPicture("4-007"));
        }
        QCOMPARE(canvas.copy(2, 2, 14, 12), expected);
        QCOMPARE(canvas.pixelColor(0, 0), QColor(200, 255, 255));
        // The name in the list's text colour, past the flag.
        bool nameDrawn = false;
        for (int y = 0; y < 18 && !nameDrawn; ++y)
            for (int x = 22; x < 170 && !nameDrawn; ++x)
                nameDrawn = canvas.pixelColor(x, y) == QColor(0, 0, 100);
        QVERIFY(nameDrawn);
        for (int y = 0; y < 18; ++y)
            for (int x = 16; x < 22; ++x)
                QCOMPARE(canvas.pixelColor(x, y), QColor(200, 255, 255));
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    CountryChoiceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "country_choice_test.moc"
