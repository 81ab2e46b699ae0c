#pragma once
// Sounds, music and the program's own font.  The sound device is opened on
// first use; without one (a silent machine, a failing driver) every call
// still returns at once and the program simply stays silent.
#include <QString>
#include <string>

namespace vk {

// Short WAVE effects from the resources, played from memory on a channel of
// their own: a new effect stops the one still playing.  Nothing happens when
// Enabled is false.
void PlayWavRes(const QString& name, bool enabled);

// The four longer sounds: 1, 2 the intro, 3 a poor result, 4 a good result.
// Opened once and kept; each plays on a channel of its own, and asking for
// one that is still playing does not restart it.
void OpenIntroSounds();
void PlayIntroSound(int number);

// Background music, written once to TempDir + "temp_50_17.mp3" (a file left
// by an earlier run is used as it is) and played from there; TempDir is the
// program's private folder, and an empty one means no music.  PlayMusic does
// nothing while that file is missing; MusicStopped is what the restart timer
// asks.
void PrepareMusic(const std::string& tempDir);
void PlayMusic(bool on);
bool MusicStopped();
void RemoveMusicFile();

// The display font, written once to TempDir + "oldcyr_bold.ttf" and installed
// for this process only; true when it is installed (never without TempDir).  RemoveOwnFont
// uninstalls it and deletes the file.
bool InstallOwnFont(const std::string& tempDir);
void RemoveOwnFont();

// Stops every sound and closes the sound device; the next sound opens it
// again.  The application closes it this way when it ends.
void CloseAudio();

} // namespace vk
