// The passport of the world top ten and the chat: the lamps, the typed
// characters the boards refuse, the rule line, the country and sex
// choices, a window that does not close while a text is refused, and
// «Отмена», which puts the passport back.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
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
#include "ui/kit/accessibility.h"
#include "picture_checks.h"
#include "window_input.h"
#include "window_test_support.h"

using vk::TFormServerInfo;

namespace {

std::string Cp(const char* utf8) { return vk::Utf8ToCp1251(utf8).value(); }

bool LampShows(vk::PictureBox* lamp, const char* name)
{
    return testsupport::PictureStandsAt(lamp->Canvas(), testsupport::ResourcePicture(name), {0, 0});
}

QLineEdit* Edit(TFormServerInfo& w, const char* name) { return testsupport::Find<QLineEdit>(w, name); }
QLabel* RuleLine(TFormServerInfo& w) { return testsupport::Find<QLabel>(w, "RuleLine"); }

// Replaces the text of the edit as the keyboard would.
void Retype(QLineEdit* edit, const QString& text)
{
    input::Focus(edit);
    input::Key(edit, Qt::Key_A, Qt::ControlModifier);
    input::Key(edit, Qt::Key_Delete);
    input::Type(edit, text);
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

    void theRuleIsSaidBesideTheFields_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rule"); // empty: the line is hidden
        const QString latin = QStringLiteral("Ник для результатов — только латиница");
        QTest::newRow("Cyrillic nick") << "EditNick" << QStringLiteral("Номад") << latin;
        QTest::newRow("mixed nick") << "EditNick" << QStringLiteral("Nomadик") << latin;
        QTest::newRow("one-letter nick") << "EditNick" << QStringLiteral("N")
                                         << QStringLiteral(
                                                "Ник: от 2 до 12 латинских букв, цифр или знаков ! ( ) , - . ? _ @");
        QTest::newRow("Latin nick") << "EditNick" << QStringLiteral("Lynx") << QString();
        QTest::newRow("one-letter city") << "EditCity" << QStringLiteral("О")
                                         << QStringLiteral("Город: от 2 до 15 букв, цифр или знаков");
        QTest::newRow("Cyrillic city") << "EditCity" << QStringLiteral("Омск") << QString();
    }
    void theRuleIsSaidBesideTheFields()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, rule);
        Passport p;
        TFormServerInfo& w = *p.window;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(RuleLine(w)->isHidden());
        Retype(Edit(w, edit.toLatin1().constData()), typed);
        QCOMPARE(Edit(w, edit.toLatin1().constData())->text(), typed);
        QCOMPARE(RuleLine(w)->isVisible(), !rule.isEmpty());
        if (!rule.isEmpty())
            QCOMPARE(RuleLine(w)->text(), rule);
        testsupport::SaveGrab(w, QStringLiteral("passport_rule_%1").arg(QLatin1String(QTest::currentDataTag())));
        // The line stays inside the window's free band, clear of the other
        // controls.
        for (QWidget* other : w.findChildren<QWidget*>()) {
            if (other != RuleLine(w) && other->parentWidget() == &w && other->isVisible())
                QVERIFY2(!other->geometry().intersects(RuleLine(w)->geometry()), qPrintable(other->objectName()));
        }
    }

    void aRefusedKeyIsExplainedForAMoment()
    {
        Passport p;
        TFormServerInfo& w = *p.window;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Retype(Edit(w, "EditNick"), QStringLiteral("Номад"));
        input::Type(Edit(w, "EditNick"), QStringLiteral(";"));
        QCOMPARE(Edit(w, "EditNick")->text(), QStringLiteral("Номад"));
        QCOMPARE(RuleLine(w)->text(), QStringLiteral("Этот знак здесь не принимается"));
        testsupport::SaveGrab(w, QStringLiteral("passport_key_refused"));
        // Then the nick's own rule again.
        QTRY_COMPARE_WITH_TIMEOUT(RuleLine(w)->text(), QStringLiteral("Ник для результатов — только латиница"), 5000);
        QVERIFY(RuleLine(w)->isVisible());
        testsupport::SaveGrab(w, QStringLiteral("passport_nick_rule"));
        // A key refused in the city, whose text is fine: the moment over,
        // the line goes back to the nick's rule; once the nick is fine too,
        // it goes.
        input::Focus(Edit(w, "EditCity"));
        input::Type(Edit(w, "EditCity"), QStringLiteral(" "));
        QCOMPARE(Edit(w, "EditCity")->text(), QStringLiteral("Tula"));
        QCOMPARE(RuleLine(w)->text(), QStringLiteral("Этот знак здесь не принимается"));
        QTRY_COMPARE_WITH_TIMEOUT(RuleLine(w)->text(), QStringLiteral("Ник для результатов — только латиница"), 5000);
        Retype(Edit(w, "EditNick"), QStringLiteral("Nomad"));
        QVERIFY(RuleLine(w)->isHidden());
    }

    void cancelPutsTheStoredPassportBack_data()
    {
        QTest::addColumn<bool>("escape"); // else a click on «Отмена»
        QTest::newRow("Escape") << true;
        QTest::newRow("Отмена") << false;
    }
    void cancelPutsTheStoredPassportBack()
    {
        QFETCH(bool, escape);
        Passport p;
        TFormServerInfo& w = *p.window;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* cancel = testsupport::Find<vk::TTevQuizButton>(w, "ButtonCancel");
        QCOMPARE(cancel->text(), QStringLiteral("Отмена"));
        QCOMPARE(QAccessible::queryAccessibleInterface(cancel)->text(QAccessible::Name), QStringLiteral("Отмена"));

        // Valid edits reach the settings at once; then the nick is refused.
        Retype(Edit(w, "EditCity"), QStringLiteral("Omsk"));
        input::Focus(testsupport::Find<QComboBox>(w, "ComboBoxContinent"));
        input::Key(&w, Qt::Key_Down);
        input::Focus(testsupport::Find<QComboBox>(w, "ComboBoxSex"));
        input::Key(&w, Qt::Key_Up);
        Retype(Edit(w, "EditNick"), QStringLiteral("Lynx"));
        QCOMPARE(p.prefs.ServerNick, std::string("Lynx"));
        QCOMPARE(p.prefs.ServerCity, std::string("Omsk"));
        QCOMPARE(p.prefs.ServerCountry, std::string("5-000"));
        QCOMPARE(p.prefs.ServerSex, std::string("M"));
        Retype(Edit(w, "EditNick"), QStringLiteral("L"));
        QVERIFY(!w.Valid());

        // Closing the window otherwise stays refused.
        input::WindowOf(&w)->close();
        QVERIFY(w.isVisible());

        if (escape)
            input::Key(&w, Qt::Key_Escape);
        else
            input::Click(cancel);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(p.prefs.ServerNick, std::string("Nomad"));
        QCOMPARE(p.prefs.ServerCity, std::string("Tula"));
        QCOMPARE(p.prefs.ServerCountry, std::string("4-007"));
        QCOMPARE(p.prefs.ServerSex, std::string("W"));
    }

    void cancelClosesOverAPassportRefusedFromTheStart()
    {
        // A settings file may hold a nick the boards refuse: «Отмена» gives
        // it back as it was rather than keeping the player in the window.
        vk::Settings prefs;
        prefs.ServerNick = "N";
        const QImage background = testsupport::Background();
        TFormServerInfo w(prefs, background);
        w.setModal(false);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(RuleLine(w)->text(),
                 QStringLiteral("Ник: от 2 до 12 латинских букв, цифр или знаков ! ( ) , - . ? _ @"));
        Retype(Edit(w, "EditNick"), QStringLiteral("Номад"));
        QCOMPARE(prefs.ServerNick, vk::Utf8ToCp1251("Номад").value());
        input::Click(testsupport::Find<vk::TTevQuizButton>(w, "ButtonCancel"));
        QVERIFY(!w.isVisible());
        QCOMPARE(prefs.ServerNick, std::string("N"));
    }

    void tabFollowsTheFieldsDownTheWindow()
    {
        Passport p;
        TFormServerInfo& w = *p.window;
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const char* order[] = {"EditNick",    "ComboBoxContinent", "ComboBoxCountry", "EditCity",
                               "ComboBoxSex", "Button1",           "ButtonCancel"};
        input::Focus(Edit(w, "EditNick"));
        for (const char* name : order) {
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(name));
            input::Key(&w, Qt::Key_Tab);
        }
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    vk::InstallAccessibility();
    PassportWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "passport_window_test.moc"
