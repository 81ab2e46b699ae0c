#include "ui/kit/audio.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QSaveFile>

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>

#include "common/product.h"
#include "ui/kit/resource_store.h"

namespace vk {
namespace {

// The effects share one channel, so a new one cuts the last one off; the
// intro sounds have one channel each, numbered like the sounds.
constexpr int kEffectChannel = 0;
constexpr int kIntroSoundCount = 4;
constexpr int kChannelCount = 1 + kIntroSoundCount;

struct AudioState {
    bool OpenTried = false;
    bool Open = false;
    bool PostRoutineAdded = false;
    // Decoded once, kept until the device closes; a sound that cannot be
    // decoded is kept as null so it is not tried again.
    QHash<QString, Mix_Chunk*> Effects;
    std::array<Mix_Chunk*, kIntroSoundCount> IntroSounds{};
    bool IntroSoundsOpen = false;
    QString MusicFile;
    Mix_Music* Music = nullptr;
    bool MusicPaused = false;
    QString FontFile;
    int FontId = -1;
};

AudioState& State()
{
    static AudioState state;
    return state;
}

void CloseAudioAtExit() { CloseAudio(); }

// Opens the sound device once.  A machine without one leaves the program
// silent: the failure is remembered, not reported, and not retried.
bool AudioReady()
{
    AudioState& s = State();
    if (s.OpenTried)
        return s.Open;
    s.OpenTried = true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(kChannelCount);
    s.Open = true;
    if (!s.PostRoutineAdded && QCoreApplication::instance()) {
        qAddPostRoutine(CloseAudioAtExit);
        s.PostRoutineAdded = true;
    }
    return true;
}

// Decodes a sound resource (WAVE or MP3) into memory the mixer plays from.
Mix_Chunk* LoadChunk(const QString& name)
{
    const auto bytes = ResourceBytes(ResourceKind::Raw, name);
    if (!bytes)
        return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes->constData(), static_cast<int>(bytes->size()));
    Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (!chunk)
        qWarning("Program sound %s cannot be decoded: %s", qUtf8Printable(name), Mix_GetError());
    return chunk;
}

// Puts a resource into a file unless one is there already, writing a
// temporary file first and renaming it, so that no half-written file is ever
// taken for a whole one.  False when the file is not in place.
bool EnsureResourceFile(ResourceKind kind, const QString& name, const QString& path)
{
    if (QFileInfo::exists(path))
        return true;
    const auto bytes = ResourceBytes(kind, name);
    if (!bytes)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(*bytes) != bytes->size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

void FreeMusic(AudioState& s)
{
    if (!s.Music)
        return;
    Mix_HaltMusic();
    Mix_FreeMusic(s.Music);
    s.Music = nullptr;
    s.MusicPaused = false;
}

// Opens the music file in the player when there is a device and a file.
bool MusicLoaded(AudioState& s)
{
    if (s.Music)
        return true;
    if (s.MusicFile.isEmpty() || !QFileInfo::exists(s.MusicFile) || !AudioReady())
        return false;
    s.Music = Mix_LoadMUS(QFile::encodeName(s.MusicFile).constData());
    if (!s.Music)
        qWarning("The music file cannot be played: %s", Mix_GetError());
    return s.Music != nullptr;
}

} // namespace

void PlayWavRes(const QString& name, bool enabled)
{
    if (!enabled || !AudioReady())
        return;
    AudioState& s = State();
    const QString key = name.toUpper();
    auto it = s.Effects.constFind(key);
    if (it == s.Effects.constEnd())
        it = s.Effects.insert(key, LoadChunk(name));
    if (*it)
        Mix_PlayChannel(kEffectChannel, *it, 0);
}

void OpenIntroSounds()
{
    AudioState& s = State();
    if (s.IntroSoundsOpen || !AudioReady())
        return;
    static const char* const names[kIntroSoundCount] = {"SZastNew1", "SZastNew2", "S_FiBad", "S_FiGut"};
    for (int i = 0; i < kIntroSoundCount; ++i)
        s.IntroSounds[static_cast<std::size_t>(i)] = LoadChunk(QString::fromLatin1(names[i]));
    for (int i : {0, 1})
        if (Mix_Chunk* chunk = s.IntroSounds[static_cast<std::size_t>(i)])
            Mix_VolumeChunk(chunk, MIX_MAX_VOLUME);
    s.IntroSoundsOpen = true;
}

void PlayIntroSound(int number)
{
    AudioState& s = State();
    if (!s.Open || number < 1 || number > kIntroSoundCount)
        return;
    Mix_Chunk* chunk = s.IntroSounds[static_cast<std::size_t>(number - 1)];
    if (chunk && !Mix_Playing(number))
        Mix_PlayChannel(number, chunk, 0);
}

void PrepareMusic(const std::string& tempDir)
{
    AudioState& s = State();
    FreeMusic(s);
    // Without a private folder there is no music file, and no music.
    s.MusicFile = tempDir.empty()
                      ? QString()
                      : QString::fromStdString(tempDir) + QStringLiteral("temp_%1_17.mp3").arg(ProductNumber);
    if (!s.MusicFile.isEmpty() && EnsureResourceFile(ResourceKind::Raw, QStringLiteral("MMusic"), s.MusicFile))
        MusicLoaded(s);
}

void PlayMusic(bool on)
{
    AudioState& s = State();
    if (!on) {
        // Switching the music off always silences it, even when its file
        // has gone meanwhile.
        if (s.Music && Mix_PlayingMusic() && !s.MusicPaused) {
            Mix_PauseMusic();
            s.MusicPaused = true;
        }
        return;
    }
    if (s.MusicFile.isEmpty() || !QFileInfo::exists(s.MusicFile) || !MusicLoaded(s))
        return;
    if (s.MusicPaused) {
        Mix_ResumeMusic();
        s.MusicPaused = false;
    } else if (!Mix_PlayingMusic()) {
        Mix_PlayMusic(s.Music, 1);
    }
}

bool MusicStopped()
{
    const AudioState& s = State();
    return !s.Music || s.MusicPaused || !Mix_PlayingMusic();
}

void RemoveMusicFile()
{
    AudioState& s = State();
    FreeMusic(s);
    if (!s.MusicFile.isEmpty())
        QFile::remove(s.MusicFile);
}

bool InstallOwnFont(const std::string& tempDir)
{
    AudioState& s = State();
    const QString file = QString::fromStdString(tempDir) + QStringLiteral("oldcyr_bold.ttf");
    if (s.FontId >= 0 && file == s.FontFile)
        return true;
    RemoveOwnFont();
    if (tempDir.empty())
        return false;
    s.FontFile = file;
    if (!EnsureResourceFile(ResourceKind::Any, QStringLiteral("OLDCYRBOLD"), file) || !qGuiApp)
        return false;
    s.FontId = QFontDatabase::addApplicationFont(file);
    return s.FontId >= 0;
}

void RemoveOwnFont()
{
    AudioState& s = State();
    if (s.FontId >= 0 && qGuiApp)
        QFontDatabase::removeApplicationFont(s.FontId);
    s.FontId = -1;
    if (!s.FontFile.isEmpty())
        QFile::remove(s.FontFile);
}

void CloseAudio()
{
    AudioState& s = State();
    if (s.Open) {
        Mix_HaltChannel(-1);
        FreeMusic(s);
        for (Mix_Chunk* chunk : s.Effects)
            if (chunk)
                Mix_FreeChunk(chunk);
        for (Mix_Chunk*& chunk : s.IntroSounds) {
            if (chunk)
                Mix_FreeChunk(chunk);
            chunk = nullptr;
        }
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    s.Effects.clear();
    s.IntroSoundsOpen = false;
    s.Open = false;
    s.OpenTried = false;
}

} // namespace vk
