// What a screen reader learns of the real windows, read through Qt's
// accessibility interfaces as the platform bridge reads them, and what the
// keyboard alone can do there: the menu, a deal, the account window, the
// chat and a club notice.
#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

#include "tests/ui/main_window_parts.h"
#include "common/codepage.h"
#include "common/messages.h"
#include "common/text_cipher.h"
#include "logic/game/keyboard_layout.h"
#include "logic/club/account_fields.h"
#include "logic/localdata/club_file.h"
#include "logic/looks/contrast.h"
#include "ui/club/account_window.h"
#include "ui/club/attention_window.h"
#include "ui/club/chat_window.h"
#include "ui/game/main_window.h"
#include "ui/localdata/about_window.h"
#include "ui/kit/text_codec.h"
#include "club_window_support.h"
#include "server_harness.h"
#include "window_input.h"
#include "window_test_support.h"

using vk::TForm1;

namespace {

std::string Cp(const char* utf8) { return vk::Utf8ToCp1251(utf8).value(); }

// What the update handler saw: the event's kind, its object and what it
// carried (the inserted text, the new value, or the alert's words).
struct Seen {
    QAccessible::Event type;
    QObject* object;
    QString said;
};

std::vector<Seen>& Events()
{
    static std::vector<Seen> events;
    return events;
}

void Record(QAccessibleEvent* event)
{
    QString said;
    if (event->type() == QAccessible::TextUpdated)
        said = static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
    else if (event->type() == QAccessible::ValueChanged)
        said = static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
    else if (event->type() == QAccessible::Alert)
        if (auto* w = qobject_cast<QWidget*>(event->object()))
            said = w->accessibleDescription();
    Events().push_back({event->type(), event->object(), said});
}

// The events of one kind since the list was last cleared.
std::vector<Seen> EventsOf(QAccessible::Event type)
{
    std::vector<Seen> found;
    for (const Seen& s : Events())
        if (s.type == type)
            found.push_back(s);
    return found;
}

QAccessibleInterface* Of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

QString Name(QObject* object) { return Of(object)->text(QAccessible::Name); }

// Every widget interface under Root, depth first, as a reader walks them.
void Walk(QAccessibleInterface* root, QList<QAccessibleInterface*>& out)
{
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface* child = root->child(i)) {
            out << child;
            Walk(child, out);
        }
}

QStringList NamesOfRole(QWidget& window, QAccessible::Role role)
{
    QList<QAccessibleInterface*> all;
    Walk(Of(&window), all);
    QStringList names;
    for (QAccessibleInterface* i : all)
        if (i->role() == role && !i->state().invisible)
            names << i->text(QAccessible::Name);
    return names;
}

QStringList Items(QWidget* list)
{
    QAccessibleInterface* i = Of(list);
    QStringList texts;
    for (int k = 0; k < i->childCount(); ++k)
        texts << i->child(k)->text(QAccessible::Name);
    return texts;
}

// The widgets Tab visits from the focus, once round.
QList<QWidget*> TabRound(QWidget& window, int most = 60)
{
    // On a loaded machine the window may not be active yet, and its first
    // keys would reach no widget at all.
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window, 10000))
        qWarning("the window never became active");
    QList<QWidget*> seen;
    for (int i = 0; i < most; ++i) {
        input::Key(&window, Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || seen.contains(now))
            break;
        seen << now;
    }
    return seen;
}

vk::ConstRgbaPixels PixelsOf(const QImage& rgba)
{
    return {rgba.constBits(), rgba.width(), rgba.height(), rgba.bytesPerLine()};
}

vk::Rgb RgbOf(QColor c)
{
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

QImage Drawn(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGBA8888); }

// A button's caption against its face: the button drawn as it is and once
// more without its caption.
vk::CaptionContrast CaptionContrastOf(vk::TTevQuizButton* button, QColor text)
{
    const QImage withCaption = Drawn(button);
    const QString caption = button->text();
    button->setText(QString());
    const QImage face = Drawn(button);
    button->setText(caption);
    return vk::MeasureCaptionContrast(PixelsOf(withCaption), PixelsOf(face), RgbOf(text), vk::HaloFor(RgbOf(text)));
}

// A text a picture shows in `text` inside `box`, ringed with `outline`.
vk::CaptionContrast PaintedContrastOf(QWidget* picture, const QRect& box, QColor text, QColor outline)
{
    const QImage part = Drawn(picture).copy(box);
    return vk::MeasureCaptionContrast(PixelsOf(part), {}, RgbOf(text), RgbOf(outline));
}

// A main window on the menu in a folder of its own, with one member line
// and a fixed puzzle for every deal.
struct Menu {
    Menu()
    {
        form.Preferences().SoundOn = false;
        form.Preferences().MusicOn = false;
        form.SetWindowSize();
        form.State().ProgramDir = QDir(folder.path()).absolutePath().toStdString() + "/";
        vk::ClubLines lines = vk::EmptyClubFile();
        lines[1] = vk::MakeMemberLine(Cp("Маша"), 987, 7, vk::EncodePassword(""));
        vk::SealClubFile(lines);
        QFile file(QString::fromStdString(form.State().ProgramDir + vk::ClubFileName));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray::fromStdString(vk::ClubFileBytes(lines)));
        file.close();
        const std::string puzzle = Cp("ЛЕВ ТОЛСТОЙ") + "#" + Cp("Писатель") + "#x#";
        form.State().Memo1[0] = vk::EncodeText(puzzle, vk::PuzzleStartKey);
        form.PuzzleSource() = [](int) { return 0; };
        form.ShowMenuWithoutIntro();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
    }
    void StartNewPlayer()
    {
        form.State().Local.CurrentName = Cp("Тестер");
        form.State().Local.CurrentPasswordCode = vk::EncodePassword("");
        form.StartNewPlayerGame();
    }
    vk::TTevQuizButton* Key(const char* letter)
    {
        return parts::LetterKeys(form)[static_cast<std::size_t>(vk::KeyOfLetter(Cp(letter)[0]) - 1)];
    }

    QTemporaryDir folder;
    TForm1 form;
};

// The account window of a player not logged in, against a real server.
struct Account {
    Account()
    {
        context.Http = vk::HttpClient();
        context.ProgramDir = folder.ProgramDir();
        context.Club = &state;
        context.ClubState = &clubState;
        context.Addresses = {vk::StoredClubAddress(server.Base(), vk::ClubAccount),
                             vk::StoredClubAddress(server.Base(), vk::ClubPhotoFolder),
                             vk::StoredClubAddress(server.Base(), vk::ClubPhotoUpload)};
    }
    // Made and shown at the first call.
    vk::TFAcc1& Window()
    {
        if (!window) {
            window = std::make_unique<vk::TFAcc1>(prefs, background, context, false);
            window->Notice = [](const QString&) {};
            window->show();
            if (!QTest::qWaitForWindowExposed(window.get()))
                qFatal("the account window never showed");
            window->activateWindow();
        }
        return *window;
    }

    vk::test::TestServer server;
    clubtest::ProgramFolder folder;
    vk::Settings prefs;
    vk::ClubStateData state;
    int clubState = vk::ClubLoggedOut;
    vk::AccountContext context;
    const QImage background = testsupport::Background();
    std::unique_ptr<vk::TFAcc1> window;
};
} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A screen reader would start the accessibility bus; the test asks
        // for its address, which starts it, and the program's bridge
        // connects to it.
        const QDBusMessage call =
            QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                           QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 15000);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    }

    void init()
    {
        Events().clear();
        QAccessible::installUpdateHandler(Record);
        // Qt hands the events on only while an assistive technology
        // listens: the bridge comes up on the session's accessibility bus.
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 15000);
    }
    void cleanup() { QAccessible::installUpdateHandler(nullptr); }

    void menuReadsItsLinesButtonsAndIcons()
    {
        Menu m;
        TForm1& f = m.form;
        const auto lines = parts::MemberLines(f);
        QCOMPARE(Of(lines[0])->role(), QAccessible::ListItem);
        // The lines are the items of one list, in their order.
        QAccessibleInterface* list = Of(lines[0])->parent();
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Члены клуба"));
        QCOMPARE(list->childCount(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(list->child(i)->object(), lines[static_cast<std::size_t>(i)]);
        QCOMPARE(Name(lines[0]), QStringLiteral("свободно"));
        QCOMPARE(Name(lines[1]), QStringLiteral("Маша, Коны: 7, Счет: 987"));
        QCOMPARE(NamesOfRole(f, QAccessible::ListItem).size(), 5);
        QVERIFY(Of(lines[1])->state().focusable && !Of(lines[1])->state().disabled);

        QAccessibleInterface* newPlayer = Of(parts::Button(f, "Button6"));
        QCOMPARE(newPlayer->role(), QAccessible::Button);
        QCOMPARE(newPlayer->text(QAccessible::Name), QStringLiteral("Новый Игрок"));
        QVERIFY(newPlayer->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        // The column headings are captions nobody presses.
        QVERIFY(Of(parts::Headings(f)[0])->state().disabled);
        QAccessibleInterface* chat = Of(parts::Picture(f, "ImCh"));
        QCOMPARE(chat->role(), QAccessible::Button);
        QCOMPARE(chat->text(QAccessible::Name), parts::Picture(f, "ImCh")->toolTip());
        QVERIFY(!chat->text(QAccessible::Name).isEmpty());

        // Tab reaches the lines, the buttons and the icons, in that order.
        const QList<QWidget*> round = TabRound(f);
        const QList<QWidget*> expected = {lines[0],
                                          lines[1],
                                          lines[4],
                                          parts::Button(f, "Button6"),
                                          parts::Button(f, "Button11"),
                                          parts::Picture(f, "ImHp"),
                                          parts::Picture(f, "ImCh")};
        for (QWidget* w : expected)
            QVERIFY2(round.contains(w), qPrintable(w->objectName()));
        QVERIFY(round.indexOf(lines[4]) < round.indexOf(parts::Button(f, "Button6")));
        QVERIFY(round.indexOf(parts::Button(f, "Button11")) < round.indexOf(parts::Picture(f, "ImHp")));
        for (QWidget* w : round)
            QVERIFY2(w->isVisible() && w->isEnabled(), qPrintable(w->objectName()));

        // The focused control shows its ring: the ring's yellow along the
        // button's left edge.
        QVERIFY(lines[4]->hasFocus() || round.contains(lines[4]));
        while (QApplication::focusWidget() != parts::Button(f, "Button6"))
            input::Key(&f, Qt::Key_Tab);
        const QImage ring = parts::Button(f, "Button6")->grab().toImage();
        QCOMPARE(ring.pixelColor(1, ring.height() / 2 - 2).rgb() | ring.pixelColor(1, ring.height() / 2 + 2).rgb(),
                 QColor(255, 255, 0).rgb() | QColor(0, 0, 0).rgb());

        // Return presses the focused button: "Новый Игрок" asks for a name.
        bool asked = false;
        testsupport::AnswerModal<QDialog>([&asked](QDialog* d) {
            asked = true;
            input::Key(d, Qt::Key_Escape);
        });
        input::Key(&f, Qt::Key_Return);
        QTRY_VERIFY(asked);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(f.State().MenuActive);
    }

    void popupOpensFromTheKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Menu") << int(Qt::Key_Menu) << int(Qt::NoModifier);
        QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
    }
    void popupOpensFromTheKeyboard()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        Menu m;
        parts::Button(m.form, "Button6")->setFocus(Qt::TabFocusReason);
        input::Key(&m.form, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QMenu* popup = parts::Popup(m.form);
        QTRY_VERIFY(popup->isVisible());
        input::Key(popup, Qt::Key_Escape);
        QTRY_VERIFY(!popup->isVisible());
    }

    void aDealReadsItsBoardKeysAndFigures()
    {
        Menu m;
        m.StartNewPlayer();
        TForm1& f = m.form;
        QWidget* board = parts::Picture(f, "ImageRamka");
        QAccessibleInterface* table = Of(board);
        QCOMPARE(table->role(), QAccessible::Table);
        QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Табло"));
        QCOMPARE(table->text(QAccessible::Description), QStringLiteral("Писатель"));
        QVERIFY(table->tableInterface());
        QCOMPARE(table->tableInterface()->columnCount(), 10);
        const auto closedCells = [&] {
            QStringList texts;
            for (int r = 0; r < table->tableInterface()->rowCount(); ++r)
                for (int c = 0; c < 10; ++c)
                    texts << table->tableInterface()->cellAt(r, c)->text(QAccessible::Name);
            return texts;
        };
        QCOMPARE(closedCells().count(QStringLiteral("закрыто")), 10);
        QCOMPARE(table->tableInterface()->cellAt(0, 0)->role(), QAccessible::Cell);

        QAccessibleInterface* score = Of(parts::Picture(f, "ImGeld"));
        QCOMPARE(score->role(), QAccessible::StaticText);
        QCOMPARE(score->text(QAccessible::Name), QStringLiteral("Счёт: 1000"));
        QCOMPARE(score->valueInterface()->currentValue().toInt(), 1000);
        QCOMPARE(Name(parts::Picture(f, "ImTick")), QStringLiteral("Кон: 1 / 20"));
        QCOMPARE(Of(parts::Picture(f, "ImageBase"))->role(), QAccessible::StaticText);
        QVERIFY(Name(parts::Picture(f, "ImageBase")).startsWith(QStringLiteral("Номер базы")));

        // A key: its letter, pressable, never focusable.
        QAccessibleInterface* key = Of(m.Key("Л"));
        QCOMPARE(key->text(QAccessible::Name), QStringLiteral("Л"));
        QVERIFY(!key->state().focusable && !key->state().disabled);

        // A letter on the board: two cells open, the board's text changes
        // and the player hears how many.
        Events().clear();
        input::Type(&f, QStringLiteral("л"));
        QCOMPARE(closedCells().count(QStringLiteral("закрыто")), 8);
        QCOMPARE(closedCells().count(QStringLiteral("Л")), 2);
        QCOMPARE(EventsOf(QAccessible::TextUpdated).size(), std::size_t(1));
        QCOMPARE(EventsOf(QAccessible::TextUpdated)[0].object, board);
        QVERIFY(EventsOf(QAccessible::TextUpdated)[0].said.contains(QStringLiteral("Л")));
        QCOMPARE(EventsOf(QAccessible::Alert).size(), std::size_t(1));
        QCOMPARE(EventsOf(QAccessible::Alert)[0].said, QStringLiteral("Буква Л открыта: 2"));
        QVERIFY(EventsOf(QAccessible::ValueChanged).empty());
        QVERIFY(Of(m.Key("Л"))->state().disabled);
        QCOMPARE(Of(m.Key("Л"))->text(QAccessible::Description), QStringLiteral("уже названа"));

        // A letter not on the board costs a point: the score says so.
        Events().clear();
        input::Type(&f, QStringLiteral("я"));
        QCOMPARE(EventsOf(QAccessible::ValueChanged).size(), std::size_t(1));
        QCOMPARE(EventsOf(QAccessible::ValueChanged)[0].object, parts::Picture(f, "ImGeld"));
        QCOMPARE(EventsOf(QAccessible::ValueChanged)[0].said, QStringLiteral("999"));
        QCOMPARE(score->text(QAccessible::Name), QStringLiteral("Счёт: 999"));
        QCOMPARE(EventsOf(QAccessible::Alert)[0].said, QStringLiteral("Буквы Я нет: минус очко, счёт 999"));
        QVERIFY(EventsOf(QAccessible::TextUpdated).empty());

        // Return and Space while the deal is on press nothing and cost
        // nothing.
        for (Qt::Key k : {Qt::Key_Return, Qt::Key_Space, Qt::Key_Tab, Qt::Key_Return})
            input::Key(&f, k);
        QCOMPARE(f.State().Score, 999);

        // The rest of the word by keyboard: the last letter solves it.
        Events().clear();
        input::Type(&f, QStringLiteral("евтосй"));
        QVERIFY(f.State().DealSolved);
        QVERIFY(!closedCells().contains(QStringLiteral("закрыто")));
        QVERIFY(EventsOf(QAccessible::Alert).back().said.endsWith(QStringLiteral("Слово отгадано. Счёт 999")));

        // Tab reaches "Дальше", Return takes the next deal.
        QWidget* next = parts::Button(f, "ButtonN");
        QVERIFY(Of(next)->state().focusable && !Of(next)->state().disabled);
        for (int i = 0; i < 4 && QApplication::focusWidget() != next; ++i)
            input::Key(&f, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
        input::Key(&f, Qt::Key_Return);
        QTRY_COMPARE(f.State().DealNumber, 2);
        QCOMPARE(Name(parts::Picture(f, "ImTick")), QStringLiteral("Кон: 2 / 20"));
        QCOMPARE(closedCells().count(QStringLiteral("закрыто")), 10);
        QVERIFY(Of(m.Key("Л"))->text(QAccessible::Description).isEmpty());
    }

    void accountWindowReadsItsTablesAndClosesByKeyboard()
    {
        Account account;
        vk::TFAcc1& window = account.Window();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Reading(), 15000);

        // Ctrl+Tab walks the tabs; the results and the top ten read as lists.
        auto* tabs = testsupport::Find<QTabWidget>(window, "PageControl1");
        const int start = tabs->currentIndex();
        tabs->setFocus(Qt::TabFocusReason);
        input::Key(&window, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), (start + 1) % tabs->count());
        tabs->setCurrentIndex(1);
        QTRY_VERIFY_WITH_TIMEOUT(!window.Reading(), 15000);
        QWidget* results = testsupport::Find<QWidget>(window, "ImageN2");
        QCOMPARE(Of(results)->role(), QAccessible::List);
        const QStringList rows = Items(results);
        QCOMPARE(rows.size(), 9);
        QVERIFY(rows[0].startsWith(vk::UiText(vk::Msg::RowGame) + QStringLiteral(": ")));
        QCOMPARE(Of(results)->child(0)->role(), QAccessible::ListItem);
        tabs->setCurrentIndex(2);
        QTRY_VERIFY_WITH_TIMEOUT(!window.Reading(), 15000);
        QCOMPARE(Of(testsupport::Find<QWidget>(window, "ImageN3"))->role(), QAccessible::List);

        // The painted tabs read what they show: the balance on the coin, the
        // member's card row by row under the names of its icons (empty while
        // logged out), the chairman's card from its title down.
        struct Painted {
            int tab;
            const char* picture;
            QAccessible::Role role;
            QString first;
            int count;
        };
        const QString chairman = QStringLiteral("Председатель клуба");
        const Painted painted[] = {
            {3, "ImageN4", QAccessible::StaticText, QStringLiteral("Ваши Тевы: 0"), 0},
            {4, "ImageN5", QAccessible::List, QStringLiteral("Ваше имя"), vk::CardFieldCount},
            {5, "ImageN6", QAccessible::List, chairman, -1},
        };
        for (const Painted& p : painted) {
            tabs->setCurrentIndex(p.tab);
            QTRY_VERIFY_WITH_TIMEOUT(!window.Reading(), 15000);
            QAccessibleInterface* picture = Of(testsupport::Find<QWidget>(window, p.picture));
            QCOMPARE(picture->role(), p.role);
            if (p.role == QAccessible::StaticText) {
                QCOMPARE(picture->text(QAccessible::Name), p.first);
                QCOMPARE(picture->valueInterface()->currentValue().toInt(), 0);
                continue;
            }
            const QStringList items = Items(testsupport::Find<QWidget>(window, p.picture));
            QVERIFY2(!items.isEmpty() && items[0].startsWith(p.first), qPrintable(items.join(QLatin1Char('|'))));
            if (p.count >= 0)
                QCOMPARE(items.size(), p.count);
        }

        // Every button the Tab round meets has a name.
        for (QWidget* w : TabRound(window))
            if (auto* b = qobject_cast<vk::TTevQuizButton*>(w))
                QVERIFY2(!Name(b).isEmpty(), qPrintable(b->objectName()));
        input::Key(&window, Qt::Key_Escape);
        QTRY_VERIFY(!window.isVisible());
    }

    // Every caption that tells the player something stands out from the
    // picture under it at the ratio easy reading needs: the buttons of the
    // menu, of a deal and of the account window, the member lines and the
    // Tevs balance on its coin.
    void captionsStandOutFromTheirPictures()
    {
        const QColor aqua(0, 255, 255), navy(0, 0, 128), silver(192, 192, 192), yellow(255, 255, 0);
        struct Row {
            const char* name;
            QColor text;
        };
        QStringList failed;
        const auto check = [&failed](const QString& what, const vk::CaptionContrast& figure) {
            qInfo("%s: %.2f over %d letter edges", qPrintable(what), figure.ratio, figure.edges);
            // A handful of edges would be a stray pixel, not a caption.
            if (figure.edges < 40 || figure.ratio < vk::kReadableContrast)
                failed << QStringLiteral("%1 %2").arg(what).arg(figure.ratio, 0, 'f', 2);
        };
        const auto checkButtons = [&check](QWidget& window, const auto& rows) {
            for (const Row& row : rows) {
                vk::TTevQuizButton* b = parts::Button(window, row.name);
                QVERIFY2(b->isVisible() && !b->text().isEmpty(), row.name);
                check(QStringLiteral("%1 «%2»").arg(QLatin1String(row.name), b->text().simplified()),
                      CaptionContrastOf(b, row.text));
            }
        };

        Menu m;
        // The headings are captions no one presses, in silver.
        const Row menu[] = {{"Button6", aqua},  {"Button9", aqua},  {"Button10", aqua},
                            {"Button11", aqua}, {"Panel1", silver}, {"Panel2", silver},
                            {"Panel3", silver}, {"Button2", navy},  {"Button5", navy}};
        checkButtons(m.form, menu);
        QVERIFY(testsupport::SaveGrab(m.form, QStringLiteral("captions-menu")));
        m.StartNewPlayer();
        const Row deal[] = {{"BLetters1", aqua}, {"BLetters32", aqua}};
        checkButtons(m.form, deal);
        QVERIFY(testsupport::SaveGrab(m.form, QStringLiteral("captions-deal")));

        Account account;
        vk::TFAcc1& window = account.Window();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Reading(), 15000);
        for (auto* b : window.findChildren<vk::TTevQuizButton*>())
            if (b->isVisible() && b->isEnabled() && !b->text().isEmpty())
                check(b->objectName() + QStringLiteral(" «") + b->text() + QStringLiteral("»"),
                      CaptionContrastOf(b, yellow));
        auto* tabs = testsupport::Find<QTabWidget>(window, "PageControl1");
        tabs->setCurrentIndex(3);
        QWidget* tevs = testsupport::Find<QWidget>(window, "ImageN4");
        QTRY_VERIFY(tevs->isVisible());
        QVERIFY(testsupport::SaveGrab(window, QStringLiteral("captions-tevs")));
        // The coin's texts are yellow in a brown ring.
        const QColor brown(90, 40, 0);
        check(QStringLiteral("the Tevs balance"), PaintedContrastOf(tevs, QRect(287, 30, 128, 90), yellow, brown));
        check(QStringLiteral("«Ваши Тевы»"), PaintedContrastOf(tevs, QRect(287, 124, 128, 30), yellow, brown));
        QVERIFY2(failed.isEmpty(), qPrintable(failed.join(QStringLiteral("; "))));
    }

    void chatReadsItsBandsInTabOrder()
    {
        vk::test::TestServer server;
        vk::Settings prefs;
        prefs.SoundOn = false;
        prefs.WttAddress = server.Base() + "/wtt";
        prefs.ServerNick = "Alpha";
        prefs.ServerCity = "Tula";
        prefs.ServerCountry = "1-007";
        prefs.ServerSex = "M";
        const QImage background = testsupport::Background();
        vk::TFormChat chat(prefs, background, vk::HttpClient());
        chat.setModal(false);
        QSignalSpy drawn(&chat, &vk::TFormChat::messagesDrawn);
        chat.show();
        QVERIFY(drawn.wait(15000));
        QWidget* bands = testsupport::Find<QWidget>(chat, "ImageMessages");
        QCOMPARE(Of(bands)->role(), QAccessible::List);
        QCOMPARE(Name(bands), QStringLiteral("Сообщения"));
        QCOMPARE(Items(bands), QStringList());

        auto* edit = testsupport::Find<QLineEdit>(chat, "EditMessage");
        QCOMPARE(Name(edit), QStringLiteral("Ваше сообщение"));
        testsupport::TypeText(edit, QStringLiteral("Привет всем"));
        QSignalSpy sent(&chat, &vk::TFormChat::sendFinished);
        input::Key(edit, Qt::Key_Return);
        QVERIFY(!sent.isEmpty() || sent.wait(15000));
        QVERIFY(drawn.size() > 1 || drawn.wait(15000));
        const QStringList items = Items(bands);
        QCOMPARE(items.size(), 1);
        QVERIFY2(items[0].startsWith(QStringLiteral("1. ")) && items[0].endsWith(QStringLiteral(": Привет всем")),
                 qPrintable(items[0]));
        QCOMPARE(Of(testsupport::Find<vk::TTevQuizButton>(chat, "ButtonSend"))->text(QAccessible::Name),
                 QStringLiteral("Отправить"));

        // Tab: the box, send, close, passport.
        testsupport::Find<vk::TTevQuizButton>(chat, "ButtonPassport")->setFocus(Qt::TabFocusReason);
        const QList<QWidget*> round = TabRound(chat);
        QStringList order;
        for (QWidget* w : round)
            order << w->objectName();
        // The send button waits out its countdown after a send, off and so
        // out of the round until then.
        const QString expected = testsupport::Find<vk::TTevQuizButton>(chat, "ButtonSend")->isEnabled()
                                     ? QStringLiteral("EditMessage ButtonSend ButtonClose ButtonPassport")
                                     : QStringLiteral("EditMessage ButtonClose ButtonPassport");
        QVERIFY2(order.join(QLatin1Char(' ')).contains(expected), qPrintable(order.join(QLatin1Char(' '))));
        input::Key(&chat, Qt::Key_Escape);
        QTRY_VERIFY(!chat.isVisible());
    }

    void aboutWindowNamesItsPaintedTitle()
    {
        vk::Settings prefs;
        vk::TFormAbout about(prefs, testsupport::Background());
        QCOMPARE(Name(testsupport::Find<vk::PictureBox>(about, "ImageTitle")), vk::UiProductName());
        QVERIFY(!vk::UiProductName().isEmpty());
    }

    void aClubNoticeIsAnAlert()
    {
        QWidget parent;
        parent.show();
        testsupport::AnswerModal<vk::TFormLink>([](vk::TFormLink* notice) { input::Key(notice, Qt::Key_Return); });
        vk::ShowAttention(&parent, QStringLiteral("Внимание!"), QStringLiteral("Сервер недоступен"));
        const auto alerts = EventsOf(QAccessible::Alert);
        QCOMPARE(alerts.size(), std::size_t(1));
        QCOMPARE(alerts[0].said, QStringLiteral("Внимание! Сервер недоступен"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
