// The picture families; each draws its pictures into the sink.
#pragma once

#include "kit.h"

namespace art {

void drawButtonFaces(Sink& sink);
void drawLetterTiles(Sink& sink);
void drawBoard(Sink& sink);       // board and score frames, empty cell, base stars
void drawTitles(Sink& sink);      // banners, stripes, Caption, GTitle, Logo
void drawBackgrounds(Sink& sink); // BG, G_BGMenu
void drawPanels(Sink& sink);      // panels, scrolls, frames, placeholders
void drawIcons(Sink& sink);       // window icons, lamps, small icons, member card icons
void drawFlags(Sink& sink, const QString& svgDir);
QImage contactSheet(const Sink& sink);

} // namespace art
