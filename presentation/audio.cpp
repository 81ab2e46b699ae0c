#include "presentation/audio.h"

// The sound output and the private font come with the presentation work;
// until then the program is silent and draws with the substitute font.

namespace vk {

void PlayWavRes(const QString&, bool) {}
void OpenIntroSounds() {}
void PlayIntroSound(int) {}
void PrepareMusic(const std::string&) {}
void PlayMusic(bool) {}
bool MusicStopped() { return true; }
void RemoveMusicFile() {}
void InstallOwnFont(const std::string&) {}
void RemoveOwnFont() {}

} // namespace vk
