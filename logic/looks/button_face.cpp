#include "logic/looks/button_face.h"

#include "common/rounding.h"

#include <algorithm>

namespace vk {
namespace {

struct SetConstants {
    const char* prefix;
    int baseCap;
    int baseHeight;
};

constexpr SetConstants kSets[] = {
    {"B29", 15, 30},
    {"B44", 24, 45},
    {"B59", 30, 60},
};

const SetConstants& ConstantsOf(FaceSet set) { return kSets[static_cast<int>(set)]; }

// The glyph's left offset at the three standard heights; the caption keeps
// ten pixels more from the glyph.
constexpr int kStandardGlyphOffset[] = {15, 18, 20};

// Every ratio below is formed from integers first, so that a true half
// (12.5) reaches the rounding exactly and goes to even.
int RoundRatio(long long numerator, long long denominator)
{
    return RoundInt(static_cast<double>(numerator) / static_cast<double>(denominator));
}

std::uint8_t Lighten(std::uint8_t x, int k) { return static_cast<std::uint8_t>(RoundInt(x + (255 - x) * k / 100.0)); }

} // namespace

int StandardHeight(THeightSB value)
{
    static constexpr int kHeights[] = {30, 45, 60};
    return kHeights[value];
}

int StandardHeightIndex(int height)
{
    switch (height) {
    case 30: return 1;
    case 45: return 2;
    case 60: return 3;
    default: return 0;
    }
}

FaceSet FaceSetFor(int height)
{
    if (height <= 30)
        return FaceSet::B29;
    if (height <= 45)
        return FaceSet::B44;
    return FaceSet::B59;
}

std::string FacePictureName(FaceSet set, FacePart part, bool lit)
{
    static constexpr const char* kParts[] = {"_Left", "_Right", "_Telo"};
    std::string name = ConstantsOf(set).prefix;
    name += kParts[static_cast<int>(part)];
    if (lit)
        name += 'L';
    return name;
}

FaceGeometry ComputeFaceGeometry(int width, int height)
{
    FaceGeometry g;
    g.set = FaceSetFor(height);
    const SetConstants& k = ConstantsOf(g.set);
    g.cap = RoundRatio(static_cast<long long>(k.baseCap) * height, k.baseHeight);
    g.glyphInset = RoundRatio(g.cap * 6LL, 10);
    g.capAfterInset = RoundRatio(g.glyphInset * 10LL, 6);
    const int c = g.cap;
    const int bottom = height - 1;
    g.left = {0, 0, c, bottom};
    g.right = {width - c - 1, 0, width - 1, bottom};
    g.body = {c, 0, width - c, bottom};
    return g;
}

std::optional<GlyphPosition> GlyphPositionFor(TButtonLayout layout, int width, int height, int glyphWidth,
                                              int glyphHeight, int glyphInset)
{
    const int index = StandardHeightIndex(height);
    const int offset = index ? kStandardGlyphOffset[index - 1] : glyphInset;
    GlyphPosition p;
    p.y = RoundRatio(height - 1 - glyphHeight, 2);
    switch (layout) {
    case blGlyphLeft: p.x = offset; break;
    case blGlyphRight: p.x = width - glyphWidth - offset; break;
    case blGlyphBottom: p.x = RoundRatio(width - glyphWidth, 2); break;
    case blGlyphTop: return std::nullopt;
    }
    return p;
}

FaceRect CaptionRect(FaceRect r, TButtonLayout layout, int margin, int height, int glyphWidth, int capAfterInset)
{
    if (margin != -1) {
        const int index = StandardHeightIndex(height);
        const int gap = glyphWidth + (index ? kStandardGlyphOffset[index - 1] + 10 : capAfterInset + 10);
        if (layout == blGlyphLeft)
            r.left += gap;
        else if (layout == blGlyphRight)
            r.right -= gap;
    }
    r.top -= 4;
    return r;
}

int CaptionBaseline(const FaceRect& text, int ascent, int descent)
{
    return text.top + RoundRatio(text.Height() - (ascent + descent), 2) + ascent;
}

int CaptionRoom(const FaceRect& caption, int width, int capAfterInset)
{
    const int end = RoundRatio(capAfterInset, 2);
    return std::min(caption.right, width - end) - std::max(caption.left, end);
}

FaceRect ContourRect(int width, int height, int capAfterInset, bool selected)
{
    const int s = selected ? 1 : 0;
    const int t = RoundRatio(capAfterInset, 2) + 1;
    const int u = RoundRatio(height, 10) + 2;
    return {t + s, u + s, width - t + s, height - u + s};
}

unsigned int ContourColour(TColorSB variant)
{
    static constexpr unsigned int kColours[kColorSBCount] = {
        0xC8C8FF, // DRed
        0xFFC8C8, // DGreen
        0xC8FFC8, // DBlue
        0xC8FFC8, // DNavy
        0xC8C8FF, // DYellow
        0xC8FFFF, // DViolet
        0x4080FF, // DOrang
    };
    return kColours[variant];
}

void RecolourRgba(std::uint8_t* rgba, std::size_t pixelCount, TColorSB variant, unsigned char lightening)
{
    if (variant == DRed && lightening == 0)
        return;
    for (std::size_t i = 0; i < pixelCount; ++i) {
        std::uint8_t* p = rgba + 4 * i;
        const std::uint8_t r = p[0], g = p[1], b = p[2];
        switch (variant) {
        case DRed: break;
        case DGreen:
            p[0] = g;
            p[1] = r;
            break;
        case DBlue:
            p[0] = b;
            p[1] = r;
            p[2] = r;
            break;
        case DNavy:
            p[0] = b;
            p[2] = r;
            break;
        case DYellow: p[1] = r; break;
        case DViolet: p[2] = r; break;
        case DOrang:
            if (r > g && r > b) {
                const int b2 = RoundRatio(7LL * b, 10);
                p[2] = static_cast<std::uint8_t>(b2);
                p[1] = static_cast<std::uint8_t>(b2 + RoundRatio(4LL * (r - b2), 10));
            }
            break;
        }
        if (lightening != 0)
            for (int c = 0; c < 3; ++c)
                p[c] = Lighten(p[c], lightening);
    }
}

FaceLook ChooseLook(const FaceState& s)
{
    const bool focused = s.isFocused && (s.stateBits & kStateFocus);
    FaceLook look;
    look.lit = s.lightRect && (focused || s.mouseInPos);
    if (s.stateBits & kStateDisabled)
        look.captionColour = s.grayDis ? 0xC0C0C0 : s.fontColour;
    else
        look.captionColour = s.lightFont && s.mouseInPos ? s.colorMouse : s.fontColour;
    look.contour = focused && !s.lightRect && s.kontur;
    return look;
}

} // namespace vk
