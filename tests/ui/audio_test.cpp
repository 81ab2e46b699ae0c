#include <QApplication>
#include <QFontDatabase>
#include <QMessageBox>
#include <QtTest>

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <functional>

#include "../fixtures/dressing/fixture_resources.h"
#include "ui/kit/audio.h"
#include "ui/kit/resource_store.h"

using namespace vk;

namespace {

QTemporaryDir* fixtureFolder = nullptr;

// How often each channel has stopped, by reaching its end or by being cut
// off for another sound.  The mixer reports from its own thread.
std::atomic<int> stops[8];
void CountStop(int channel)
{
    if (channel >= 0 && channel < 8)
        ++stops[channel];
}

std::string Folder(const QTemporaryDir& dir) { return (dir.path() + QLatin1Char('/')).toStdString(); }

QString MusicFileIn(const QTemporaryDir& dir) { return dir.filePath(QStringLiteral("temp_50_17.mp3")); }

QByteArray ShortTune() { return fixture::ReadFile(QStringLiteral(VOKABRON_FIXTURE_DIR "/dressing/tone.mp3")); }

// Puts the short fixture tune where the music file goes, as a file left by
// an earlier run: the program then plays it instead of the real music, which
// is far longer.
void PlaceShortTune(const QTemporaryDir& dir)
{
    QFile file(MusicFileIn(dir));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(ShortTune()), ShortTune().size());
}

int VisibleMessageBoxes()
{
    QCoreApplication::processEvents();
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(w) && w->isVisible())
            ++count;
    return count;
}

// Opens the sound device again through the given SDL driver.
void UseDriver(const char* driver)
{
    CloseAudio();
    qputenv("SDL_AUDIODRIVER", driver);
}

} // namespace

class AudioTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        fixtureFolder = new QTemporaryDir;
        QVERIFY(fixtureFolder->isValid());
        const QByteArray mp3 = fixture::ReadFile(QStringLiteral(VOKABRON_FIXTURE_DIR "/dressing/tone.mp3"));
        const QByteArray font = fixture::ReadFile(QStringLiteral(VOKABRON_FIXTURE_DIR "/dressing/fixture_font.ttf"));
        QVERIFY(!mp3.isEmpty() && !font.isEmpty());
        QList<fixture::Resource> resources = {
            {"/raw", "AuFixLong", fixture::MakeWave(3.0)},
            {"/raw", "AuFixShort", fixture::MakeWave(0.2, 12000)},
            {"/raw", "AuFixBroken", QByteArray("RIFF, but nothing after it")},
        };
        // The names the program asks for itself get fixtures only where the
        // program's own resources lack them.
        const fixture::Resource fixed[] = {
            {"/raw", "SZastNew1", fixture::MakeWave(2.0)},
            {"/raw", "SZastNew2", fixture::MakeWave(2.0, 8000, 660)},
            {"/raw", "S_FiBad", mp3},
            {"/raw", "S_FiGut", mp3},
            {"/raw", "MMusic", mp3},
            {"/any", "OLDCYRBOLD", font},
        };
        for (const auto& r : fixed)
            if (!fixture::ProgramHas(r.Prefix, r.Name))
                resources << r;
        const QString problem = fixture::Register(resources, *fixtureFolder);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void cleanupTestCase()
    {
        CloseAudio();
        delete fixtureFolder;
    }

    // Runs first: nothing before it has opened the sound device.
    void aSwitchedOffEffectReturnsAtOnceAndOpensNothing()
    {
        PlayWavRes(QStringLiteral("AuFixLong"), false);
        PlayWavRes(QStringLiteral("NoSuchSoundAtAll"), false);
        QCOMPARE(SDL_WasInit(SDL_INIT_AUDIO), 0u);
        QCOMPARE(VisibleMessageBoxes(), 0); // not even looked up
    }

    void anEffectPlaysAndTheNextOneCutsItOff()
    {
        UseDriver("dummy");
        PlayWavRes(QStringLiteral("AuFixLong"), true);
        QVERIFY(SDL_WasInit(SDL_INIT_AUDIO));
        Mix_ChannelFinished(CountStop);
        for (auto& s : stops)
            s = 0;
        QVERIFY(Mix_Playing(0));
        PlayWavRes(QStringLiteral("aufixshort"), true);
        QCOMPARE(stops[0].load(), 1); // the long one was cut off
        QVERIFY(Mix_Playing(0));
        // The short one ends long before the three seconds of the long one.
        QTRY_VERIFY_WITH_TIMEOUT(!Mix_Playing(0), 2000);
        QCOMPARE(stops[0].load(), 2);
        for (int channel = 1; channel < Mix_AllocateChannels(-1); ++channel)
            QVERIFY(!Mix_Playing(channel));
        Mix_ChannelFinished(nullptr);
    }

    void anEffectThatCannotBePlayedIsSkipped()
    {
        UseDriver("dummy");
        PlayWavRes(QStringLiteral("AuFixBroken"), true);
        PlayWavRes(QStringLiteral("AuFixBroken"), true);
        QVERIFY(!Mix_Playing(-1));
        QTest::ignoreMessage(QtWarningMsg, "Missing program resource: NoSuchSound");
        PlayWavRes(QStringLiteral("NoSuchSound"), true);
        QVERIFY(!Mix_Playing(-1));
        QCOMPARE(VisibleMessageBoxes(), 1); // a missing name is a fault of the program
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(w))
                w->close();
    }

    void introSoundsPlayOnTheirOwnChannelsWithoutRestarting()
    {
        UseDriver("dummy");
        PlayWavRes(QStringLiteral("AuFixBroken"), true); // opens the device, plays nothing
        PlayIntroSound(1);                               // the sounds are not opened yet: nothing
        QVERIFY(!Mix_Playing(-1));
        OpenIntroSounds();
        OpenIntroSounds(); // a second opening changes nothing
        Mix_ChannelFinished(CountStop);
        for (auto& s : stops)
            s = 0;
        PlayIntroSound(1);
        QVERIFY(Mix_Playing(1));
        PlayIntroSound(1);
        QCOMPARE(stops[1].load(), 0); // still the first playing, not restarted
        QVERIFY(Mix_Playing(1));
        PlayIntroSound(2);
        QVERIFY(Mix_Playing(1) && Mix_Playing(2));
        PlayWavRes(QStringLiteral("AuFixShort"), true); // effects leave them alone
        QVERIFY(Mix_Playing(1) && Mix_Playing(2));
        QCOMPARE(stops[1].load() + stops[2].load(), 0);
        for (int n : {3, 4}) {
            PlayIntroSound(n); // the two MP3 ones decode from memory too
            QVERIFY(Mix_Playing(n));
        }
        for (int n : {0, 5, -1})
            PlayIntroSound(n);
        Mix_ChannelFinished(nullptr);
        Mix_HaltChannel(-1);
    }

    void musicFileIsWrittenOnceAndAFileLeftBehindIsUsedAsItIs()
    {
        UseDriver("dummy");
        QTemporaryDir dir;
        PrepareMusic(Folder(dir));
        QCOMPARE(fixture::ReadFile(MusicFileIn(dir)), *ResourceBytes(ResourceKind::Raw, QStringLiteral("MMusic")));
        // Written whole under a passing name and renamed: no leftovers.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"temp_50_17.mp3"});
        RemoveMusicFile();
        QVERIFY(!QFile::exists(MusicFileIn(dir)));

        // A file from an earlier run stays as it is.
        PlaceShortTune(dir);
        PrepareMusic(Folder(dir));
        QCOMPARE(fixture::ReadFile(MusicFileIn(dir)), ShortTune());
        PlayMusic(true);
        QVERIFY(!MusicStopped());
        RemoveMusicFile();
        QVERIFY(!QFile::exists(MusicFileIn(dir)));
        QVERIFY(MusicStopped());
    }

    void musicPlaysStopsAndStaysSilentOnceItsFileIsGone()
    {
        UseDriver("dummy");
        QTemporaryDir dir;
        PlaceShortTune(dir);
        PrepareMusic(Folder(dir));
        QVERIFY(MusicStopped()); // prepared, not started
        PlayMusic(true);
        QVERIFY(Mix_PlayingMusic());
        QVERIFY(!MusicStopped());
        PlayMusic(true); // already playing: goes on
        QVERIFY(!MusicStopped());
        PlayMusic(false);
        QVERIFY(MusicStopped());
        PlayMusic(true);
        QVERIFY(!MusicStopped());
        PlayMusic(false);

        QVERIFY(QFile::remove(MusicFileIn(dir)));
        PlayMusic(true);
        QVERIFY(MusicStopped());
        QCOMPARE(VisibleMessageBoxes(), 0);
        RemoveMusicFile();
    }

    void musicThatEndsIsStartedAgainByTheNextPlay()
    {
        UseDriver("dummy");
        QTemporaryDir dir;
        PlaceShortTune(dir);
        PrepareMusic(Folder(dir));
        PlayMusic(true);
        // The restart timer's question: stopped once the piece is over.
        QVERIFY(!MusicStopped());
        QTRY_VERIFY_WITH_TIMEOUT(MusicStopped(), 10000);
        PlayMusic(true);
        QVERIFY(!MusicStopped());
        RemoveMusicFile();
    }

    void theOwnFontIsInstalledAndRemovedWithItsFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("oldcyr_bold.ttf"));
        const QStringList before = QFontDatabase::families();
        QVERIFY(InstallOwnFont(Folder(dir)));
        QCOMPARE(fixture::ReadFile(file), *ResourceBytes(ResourceKind::Any, QStringLiteral("OLDCYRBOLD")));
        QStringList added;
        for (const QString& family : QFontDatabase::families())
            if (!before.contains(family))
                added << family;
        QVERIFY2(!added.isEmpty(), "the font brought no new family");

        RemoveOwnFont();
        QVERIFY(!QFile::exists(file));
        for (const QString& family : added)
            QVERIFY2(!QFontDatabase::families().contains(family), qPrintable(family));
        RemoveOwnFont(); // twice does no harm
    }

    void aTempFolderThatCannotBeWrittenLeavesSilenceWithoutAMessage()
    {
        UseDriver("dummy");
        QTemporaryDir dir;
        const std::string missing = Folder(dir) + "no/such/folder/";
        PrepareMusic(missing);
        PlayMusic(true);
        QVERIFY(MusicStopped());
        QVERIFY(!InstallOwnFont(missing));
        RemoveOwnFont();
        RemoveMusicFile();
        QCOMPARE(VisibleMessageBoxes(), 0);
    }

    void withoutASoundDeviceEverythingRunsSilently()
    {
        UseDriver("vokabron-no-such-device");
        QTemporaryDir dir;
        PlayWavRes(QStringLiteral("AuFixLong"), true);
        OpenIntroSounds();
        PlayIntroSound(1);
        PrepareMusic(Folder(dir));
        PlayMusic(true);
        QVERIFY(MusicStopped());
        PlayMusic(false);
        QCOMPARE(SDL_WasInit(SDL_INIT_AUDIO), 0u);
        // The music file is in place all the same, for when sound comes back.
        QVERIFY(QFile::exists(MusicFileIn(dir)));
        RemoveMusicFile();
        QVERIFY(!QFile::exists(MusicFileIn(dir)));
        QCOMPARE(VisibleMessageBoxes(), 0);
    }

    // SDL's "disk" driver stands in for a sound card: what reaches the
    // device is written to a file, where the sound can be found.
    void aDeviceReceivesTheEffectsAndTheMusic()
    {
        QTemporaryDir dir;
        auto loudestOnDevice = [&](const QString& name, const std::function<bool()>& play) {
            const QString output = dir.filePath(name);
            qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
            UseDriver("disk");
            if (!play())
                return -1;
            int frequency = 0;
            Uint16 format = 0;
            int channels = 0;
            if (!Mix_QuerySpec(&frequency, &format, &channels) || format != AUDIO_S16SYS)
                return -1;
            if (!QTest::qWaitFor([] { return !Mix_Playing(-1) && MusicStopped(); }, 10000))
                return -1;
            UseDriver("dummy"); // closing the device completes the file
            const QByteArray written = fixture::ReadFile(output);
            const auto* samples = reinterpret_cast<const qint16*>(written.constData());
            int loudest = 0;
            for (qsizetype i = 0; i < written.size() / 2; ++i)
                loudest = std::max(loudest, std::abs(int(samples[i])));
            return loudest;
        };

        // The effect's tone has the amplitude 12000, passed at full volume.
        const int effect = loudestOnDevice(QStringLiteral("effect.raw"), [] {
            PlayWavRes(QStringLiteral("AuFixShort"), true);
            return Mix_Playing(0) != 0;
        });
        QVERIFY2(effect > 11000 && effect <= 12001, qPrintable(QString::number(effect)));

        // The fixture tune is a sine at half of full scale.
        PlaceShortTune(dir);
        const int music = loudestOnDevice(QStringLiteral("music.raw"), [&] {
            PrepareMusic(Folder(dir));
            PlayMusic(true);
            return !MusicStopped();
        });
        QVERIFY2(music > 12000, qPrintable(QString::number(music)));
        RemoveMusicFile();
    }
};

QTEST_MAIN(AudioTest)
#include "audio_test.moc"
