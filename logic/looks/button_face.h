#pragma once
// The arithmetic of the button face: which picture set a height uses, where
// the caps, the glyph, the caption and the focus contour go, how a red face
// is turned into one of the seven colour variants, and which look a given
// state shows.  Pure computation; the button widget does the drawing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vk {

enum TColorSB : unsigned char { DRed, DGreen, DBlue, DNavy, DYellow, DViolet, DOrang };
enum THeightSB : unsigned char { D30, D45, D60 };
enum TButtonLayout : unsigned char { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

inline constexpr int kColorSBCount = 7;

// Owner-draw state bits handed to the paint and to OnDrawButton.
inline constexpr unsigned short kStateSelected = 1u << 0;
inline constexpr unsigned short kStateDisabled = 1u << 2;
inline constexpr unsigned short kStateFocus = 1u << 4;

// The control height a THeightSB stands for.
int StandardHeight(THeightSB value);

// 1, 2, 3 for the heights 30, 45, 60; 0 for any other.
int StandardHeightIndex(int height);

enum class FaceSet : unsigned char { B29, B44, B59 };
enum class FacePart : unsigned char { Left, Right, Body };

FaceSet FaceSetFor(int height);
// "B29_Left", "B44_TeloL", ...
std::string FacePictureName(FaceSet set, FacePart part, bool lit);

// Left, top inclusive; right, bottom exclusive.
struct FaceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const FaceRect&) const = default;
};

// Where the pictures and the glyph go for a face of width W and height H.
// The cap width shrinks to the glyph inset's grid (capAfterInset) before the
// caption and the contour are placed: 23 rather than 24 at H = 45.
struct FaceGeometry {
    FaceSet set = FaceSet::B29;
    int cap = 0;           // c
    int glyphInset = 0;    // g
    int capAfterInset = 0; // c'
    FaceRect left;
    FaceRect right;
    FaceRect body; // drawn last, over the right cap's first column
};
FaceGeometry ComputeFaceGeometry(int width, int height);

// Top-left corner of the glyph, or nullopt when the layout does not draw it.
struct GlyphPosition {
    int x = 0;
    int y = 0;
};
std::optional<GlyphPosition> GlyphPositionFor(TButtonLayout layout, int width, int height, int glyphWidth,
                                              int glyphHeight, int glyphInset);

// The caption rectangle for the item rectangle r (already shifted when
// pressed); margin -1 centres the caption, any other value narrows it past
// the glyph.
FaceRect CaptionRect(FaceRect r, TButtonLayout layout, int margin, int height, int glyphWidth, int capAfterInset);

// The baseline of a caption in the text rectangle: the band the font's
// letters really cover, Ascent pixels above the baseline and Descent below,
// is centred in it (halves to even).  With the accents of "Й" and "Ё" in
// that band the capitals come out a little above the face's middle.
int CaptionBaseline(const FaceRect& text, int ascent, int descent);

// How wide a caption may run in the caption rectangle of a face W pixels
// wide: it keeps half a cap's width clear of either rounded end, where the
// pill's edge would cut into its first or last letter.
int CaptionRoom(const FaceRect& caption, int width, int capAfterInset);

// The rounded focus contour's bounding box (drawn with 7 x 7 corners).
FaceRect ContourRect(int width, int height, int capAfterInset, bool selected);

// Contour pen colour, 0x00BBGGRR.
unsigned int ContourColour(TColorSB variant);

// Rewrites the colour channels of `pixelCount` RGBA pixels (bytes R, G, B, A,
// straight alpha) into the variant and lightens them by `lightening` percent.
// Alpha is left alone; DRed with no lightening leaves the pixels as they are.
void RecolourRgba(std::uint8_t* rgba, std::size_t pixelCount, TColorSB variant, unsigned char lightening);

// What the button shows, decided afresh at each paint.
struct FaceState {
    bool lightRect = false;
    bool lightFont = false;
    bool grayDis = false;
    bool kontur = true;
    bool isFocused = false; // the window's active button
    bool mouseInPos = false;
    unsigned short stateBits = 0; // kStateSelected | kStateDisabled | kStateFocus
    unsigned int fontColour = 0;
    unsigned int colorMouse = 0;
};
struct FaceLook {
    bool lit = false; // the lit picture set
    unsigned int captionColour = 0;
    bool contour = false;
    bool operator==(const FaceLook&) const = default;
};
FaceLook ChooseLook(const FaceState& state);

} // namespace vk
