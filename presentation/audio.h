#pragma once
// Sounds, music and the program's own font.  Without a sound device every
// call still succeeds quietly: the program simply stays silent.
#include <QString>
#include <string>

namespace vk {

// Short WAVE effects from the resources; a new sound stops the one playing.
void PlayWavRes(const QString& name, bool enabled);

// The four longer sounds: 1, 2 the intro, 3 a poor result, 4 a good result.
void OpenIntroSounds();
void PlayIntroSound(int number);

// Background music, written once to a temporary file and played from there.
void PrepareMusic(const std::string& tempDir);
void PlayMusic(bool on);
bool MusicStopped();
void RemoveMusicFile();

// The display font, installed for this process only.
void InstallOwnFont(const std::string& tempDir);
void RemoveOwnFont();

} // namespace vk
