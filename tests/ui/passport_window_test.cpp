// The passport of the world top ten and the chat: the lamps, the typed
// characters the boards refuse, the country and sex choices, and a window
// that does not close while a text is refused.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QtTest>

#include "ui/club/country_choice.h"
#include "ui/club/passport_window.h"
#include "common/codepage.h"
#include "ui/game/screen_scaling.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "picture_checks.h"
#include "window_test_support.h"

using vk::TFormServerInfo;

namespace {

std::string Cp(const char* utf8) { return vk::Utf8ToCp1251(utf8).value(); }

bool LampShows(vk::PictureBox* lamp, const char* name)
{
    return testsupport::PictureStandsAt(lamp->Canvas(), testsupport::ResourcePicture(name), {0, 0});
}

void Pick(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

struct Passport {
    Passport()
    {
        prefs.ServerNick = "Nomad";
        prefs.ServerCity = "Tula";
        prefs.ServerCountry = "4-007";
        prefs.ServerSex = "W";
        window = std::make_unique<TFormServerInfo>(prefs, background);
        window->setModal(false);
        window->show();
    }
    vk::Settings prefs;
    QImage background = testsupport::Background();
    std::unique_ptr<TFormServerInfo> window;
};

} // namespace

class PassportWindowTest : public QObject {
    Q_OBJECT
private slots:
    void showsThePassportWithoutChangingIt()
    {
        Passport p;
        TFormServerInfo& w = *p.window;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.size(), QSize(500, 400));
        QCOMPARE(testsupport::Find<QLineEdit>(w, "EditNick")->text(), QStringLiteral("Nomad"));
        QCOMPARE(testsupport::Find<QLineEdit>(w, "EditCity")->text(), QStringLiteral("Tula"));
        QCOMPARE(testsupport::Find<QComboBox>(w, "ComboBoxContinent")->currentIndex(), 3);
        QCOMPARE(testsupport::Find<QComboBox>(w, "ComboBoxCountry")->currentText(), QStringLiteral("Falkland Islands"));
        QCOMPARE(testsupport::Find<QComboBox>(w, "ComboBoxSex")->currentText(), QStringLiteral("Женский"));
        QVERIFY(LampShows(testsupport::Find<vk::PictureBox>(w, "ImageLampNick"), "LampG24"));
        QVERIFY(LampShows(testsupport::Find<vk::PictureBox>(w, "ImageLampCity"), "LampG24"));
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(w, "Button1")->isEnabled());
        QCOMPARE(p.prefs.ServerCountry, std::string("4-007"));
        QCOMPARE(p.prefs.ServerSex, std::string("W"));
        testsupport::SaveGrab(w, QStringLiteral("passport_window"));
    }

    void typedCharactersAndPastedTextAreChecked()
    {
        Passport p;
        TFormServerInfo& w = *p.window;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        testsupport::Find<QLineEdit>(w, "EditNick")->setFocus();
        testsupport::Find<QLineEdit>(w, "EditNick")->selectAll();
        // A blank, a quote and a semicolon are dropped as they are typed.
        testsupport::TypeText(testsupport::Find<QLineEdit>(w, "EditNick"), QStringLiteral("Но мад;\""));
        QCOMPARE(testsupport::Find<QLineEdit>(w, "EditNick")->text(), QStringLiteral("Номад"));
        QCOMPARE(w.NickClass(), 2);
        QVERIFY(LampShows(testsupport::Find<vk::PictureBox>(w, "ImageLampNick"), "LampY24"));
        QCOMPARE(p.prefs.ServerNick, Cp("Номад"));

        // Pasted text is checked as typed: an emoji is refused, never
        // taken as "?".
        QApplication::clipboard()->setText(QStringLiteral("Lynx\U0001F600"));
        testsupport::Find<QLineEdit>(w, "EditNick")->selectAll();
        QTest::keyClick(testsupport::Find<QLineEdit>(w, "EditNick"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(testsupport::Find<QLineEdit>(w, "EditNick")->text(), QStringLiteral("Lynx\U0001F600"));
        QCOMPARE(w.NickClass(), 1);
        QVERIFY(LampShows(testsupport::Find<vk::PictureBox>(w, "ImageLampNick"), "LampR24"));
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(w, "Button1")->isEnabled());
        QCOMPARE(p.prefs.ServerNick, Cp("Номад"));

        // While the nick is refused the window stays, the focus on the nick;
        // the city typed meanwhile is kept once the nick is put right.
        testsupport::Find<QLineEdit>(w, "EditCity")->setFocus();
        w.reject();
        QVERIFY(w.isVisible());
        QCOMPARE(QApplication::focusWidget(), testsupport::Find<QLineEdit>(w, "EditNick"));
        testsupport::Find<QLineEdit>(w, "EditCity")->selectAll();
        testsupport::TypeText(testsupport::Find<QLineEdit>(w, "EditCity"), QStringLiteral("Omsk"));
        QCOMPARE(p.prefs.ServerCity, std::string("Tula"));
        testsupport::Find<QLineEdit>(w, "EditNick")->setFocus();
        QTest::keyClick(testsupport::Find<QLineEdit>(w, "EditNick"), Qt::Key_Backspace);
        QCOMPARE(testsupport::Find<QLineEdit>(w, "EditNick")->text(), QStringLiteral("Lynx"));
        QCOMPARE(w.NickClass(), 3);
        QCOMPARE(p.prefs.ServerNick, std::string("Lynx"));
        QCOMPARE(p.prefs.ServerCity, std::string("Omsk"));

        // A city of one letter: the focus goes to the city.
        testsupport::Find<QLineEdit>(w, "EditCity")->selectAll();
        testsupport::TypeText(testsupport::Find<QLineEdit>(w, "EditCity"), QStringLiteral("O"));
        QVERIFY(LampShows(testsupport::Find<vk::PictureBox>(w, "ImageLampCity"), "LampR24"));
        testsupport::Find<QLineEdit>(w, "EditNick")->setFocus();
        w.reject();
        QVERIFY(w.isVisible());
        QCOMPARE(QApplication::focusWidget(), testsupport::Find<QLineEdit>(w, "EditCity"));
        testsupport::TypeText(testsupport::Find<QLineEdit>(w, "EditCity"), QStringLiteral("msk"));
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(w, "Button1")->isEnabled());
        QTest::mouseClick(testsupport::Find<vk::TTevQuizButton>(w, "Button1"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    void countryAndSexChoices()
    {
        Passport p;
        TFormServerInfo& w = *p.window;
        Pick(testsupport::Find<QComboBox>(w, "ComboBoxContinent"), 5);
        QCOMPARE(p.prefs.ServerCountry, std::string("6-000"));
        QCOMPARE(testsupport::Find<QComboBox>(w, "ComboBoxCountry")->count(), 55);
        Pick(testsupport::Find<QComboBox>(w, "ComboBoxCountry"), 7);
        QCOMPARE(p.prefs.ServerCountry, std::string("6-007"));
        Pick(testsupport::Find<QComboBox>(w, "ComboBoxSex"), 0);
        QCOMPARE(p.prefs.ServerSex, std::string("M"));
        Pick(testsupport::Find<QComboBox>(w, "ComboBoxSex"), 1);
        QCOMPARE(p.prefs.ServerSex, std::string("W"));
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    PassportWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "passport_window_test.moc"
