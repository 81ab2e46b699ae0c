#pragma once
// The two pictures of the window's size: the background every window is
// dressed with ("BG" resampled with the Spline36 filter, kept as a JPEG
// picture) and the main menu's ("G_BGMenu" area-averaged over the menu
// colour).  Each comes from the picture cache when it is there, and is
// built and kept there when it is not.
#include <QImage>
#include <QSize>
#include <vector>

namespace vk {

// The menu's colour (0x00BBGGRR): dark teal, under the menu picture and
// wherever a picture is missing.
inline constexpr unsigned int MenuColour = 0x646400;

QImage WindowBackground(QSize size);
QImage MenuBackground(QSize size);

// Builds into the cache whatever of both pictures is missing at these
// sizes: work for a worker thread (the intro, the other window sizes).
void PrepareWindowPictures(const std::vector<QSize>& sizes);

} // namespace vk
