#pragma once
// How windows dress themselves: named pictures, the shared background, the
// JPEG and GIF resources, three ways of writing text and a bevelled frame.
// The canvas is a QPainter on a picture control's canvas or on a window; its
// pen colour is the canvas's font colour.
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

class QPainter;

namespace vk {

class AnimationPlayer;

// Draws the PNG resource Name with its top-left corner at (X, Y), blended by
// its alpha.  Unscaled it is drawn at its natural size and Width, Height are
// ignored; scaled it is area-averaged to Width x Height first (a picture of
// that size already is drawn unchanged).  False when the picture is missing
// (reported) or cannot be decoded; nothing is drawn then.
bool DrawResPicture(const QString& name, QPainter& canvas, int x, int y, int width, int height, bool scaled);

// Picture area-averaged to Width x Height, with its alpha (the scaling of
// DrawResPicture); a null picture when either size is not positive.
QImage AreaAveragedPicture(const QImage& picture, int width, int height);

// Stretches the window background over (-X, -Y, ClientWidth - X,
// ClientHeight - Y): called with 0, 0 by a window's paint, and with an area's
// position on that area's canvas, so the area shows the piece of background
// that lies under it.
void PaintFormBackground(QPainter& canvas, const QImage& background, int x, int y, int clientWidth, int clientHeight);

// Decodes the "JPEG" resource Name into Picture; false (Picture untouched)
// when it is missing or undecodable.
bool LoadJpegRes(const QString& name, QImage& picture);

// Loads the "GIF" resource Name into the player, which shows and loops it.
bool LoadGifRes(const QString& name, AnimationPlayer& animator);

// Text with its top at Y, in the canvas's font and pen.
void TextOutCentred(const QString& text, int x1, int x2, int y, QPainter& canvas);
void TextOutRight(const QString& text, int x, int y, QPainter& canvas);
// Narrows the canvas's font (its horizontal stretch, the height stays) just
// enough for Text to fit in Width pixels; a text that fits keeps the font.
// Our display font runs wider than the one the pictures were drawn for.
void NarrowFontToFit(const QString& text, int width, QPainter& canvas);
// The same narrowing for a font of its own: Font narrowed just enough for
// the widest of Lines to fit in Width pixels.
QFont NarrowedFont(const QStringList& lines, int width, QFont font);
// Every one of Lines is at most Width pixels wide in Font.
bool LinesFit(const QStringList& lines, int width, const QFont& font);

// Text in Colour (0x00BBGGRR) over its shadow in half that colour, one pixel
// right and down.  Align 'l' writes from X1, 'c' centres between X1 and X2,
// 'r' ends at X2; any other value writes nothing.  The pen is left at Colour.
void TextOutShadow(const QString& text, int x1, int x2, int y, QPainter& canvas, unsigned int colour, char align);
unsigned int ShadowColour(unsigned int colour);

// A silver frame with a raised outer and a sunken inner edge over the
// rectangle X1..X2, Y1..Y2 (both ends included).  The painter's pen (also the
// text colour) and brush are left as they were.
void DrawBevelFrame(int x1, int y1, int x2, int y2, QPainter& canvas);

} // namespace vk
