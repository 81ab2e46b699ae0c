#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "logic/looks/button_face.h"

using namespace vk;

namespace vk {
// Lets failing comparisons print the rectangle.
void PrintTo(const FaceRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
} // namespace vk

TEST(ButtonFaceGeometry, SetCapInsetByHeight)
{
    struct Case {
        int height;
        FaceSet set;
        int index, cap, inset, capAfterInset;
    };
    const Case cases[] = {
        {25, FaceSet::B29, 0, 12, 7, 12}, // 12.5 goes to even
        {30, FaceSet::B29, 1, 15, 9, 15},  {31, FaceSet::B44, 0, 17, 10, 17},
        {40, FaceSet::B44, 0, 21, 13, 22}, {45, FaceSet::B44, 2, 24, 14, 23}, // c' is not c at the standard height 45
        {46, FaceSet::B59, 0, 23, 14, 23}, {60, FaceSet::B59, 3, 30, 18, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        const FaceGeometry g = ComputeFaceGeometry(100, c.height);
        EXPECT_EQ(g.set, c.set);
        EXPECT_EQ(StandardHeightIndex(c.height), c.index);
        EXPECT_EQ(g.cap, c.cap);
        EXPECT_EQ(g.glyphInset, c.inset);
        EXPECT_EQ(g.capAfterInset, c.capAfterInset);
    }
}

TEST(ButtonFaceGeometry, PictureRectanglesLeaveTheLastRowAndColumnForThePressedShift)
{
    const FaceGeometry g = ComputeFaceGeometry(100, 30);
    EXPECT_EQ(g.left, (FaceRect{0, 0, 15, 29}));
    EXPECT_EQ(g.right, (FaceRect{84, 0, 99, 29}));
    // The body is drawn last and covers the right cap's first column.
    EXPECT_EQ(g.body, (FaceRect{15, 0, 85, 29}));
    EXPECT_EQ(g.body.right, g.right.left + 1);
}

TEST(ButtonFaceGeometry, PictureNames)
{
    EXPECT_EQ(FacePictureName(FaceSet::B29, FacePart::Left, false), "B29_Left");
    EXPECT_EQ(FacePictureName(FaceSet::B44, FacePart::Body, true), "B44_TeloL");
    EXPECT_EQ(FacePictureName(FaceSet::B59, FacePart::Right, true), "B59_RightL");
    EXPECT_EQ(FacePictureName(FaceSet::B59, FacePart::Body, false), "B59_Telo");
}

TEST(ButtonFaceGeometry, StandardHeights)
{
    EXPECT_EQ(StandardHeight(D30), 30);
    EXPECT_EQ(StandardHeight(D45), 45);
    EXPECT_EQ(StandardHeight(D60), 60);
}

TEST(ButtonFaceGeometry, GlyphPositions)
{
    struct Case {
        TButtonLayout layout;
        int width, height, glyphW, glyphH;
        int x, y;
    };
    const Case cases[] = {
        {blGlyphLeft, 100, 30, 16, 16, 15, 6}, // 15, not the inset 9; y = round(6.5)
        {blGlyphLeft, 100, 45, 16, 16, 18, 14},   {blGlyphLeft, 100, 60, 16, 17, 20, 21},
        {blGlyphLeft, 100, 40, 16, 16, 13, 12}, // any other height: the inset
        {blGlyphRight, 100, 30, 16, 16, 69, 6},   {blGlyphRight, 100, 60, 10, 10, 70, 24},
        {blGlyphRight, 100, 40, 16, 16, 71, 12},  {blGlyphBottom, 101, 30, 16, 16, 42, 6}, // round(42.5)
        {blGlyphBottom, 100, 45, 16, 16, 42, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "layout " << int(c.layout) << " H " << c.height);
        const int inset = ComputeFaceGeometry(c.width, c.height).glyphInset;
        const auto p = GlyphPositionFor(c.layout, c.width, c.height, c.glyphW, c.glyphH, inset);
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(p->x, c.x);
        EXPECT_EQ(p->y, c.y);
    }
    EXPECT_FALSE(GlyphPositionFor(blGlyphTop, 100, 30, 16, 16, 9).has_value());
}

TEST(ButtonFaceGeometry, CaptionRectangles)
{
    struct Case {
        TButtonLayout layout;
        int margin, height;
        FaceRect item;
        FaceRect expected;
    };
    const FaceRect item30{0, 0, 100, 30};
    const Case cases[] = {
        {blGlyphLeft, -1, 30, item30, {0, -4, 100, 30}},
        {blGlyphLeft, 0, 30, item30, {41, -4, 100, 30}},
        {blGlyphLeft, 4, 45, {0, 0, 100, 45}, {44, -4, 100, 45}},
        {blGlyphLeft, 0, 60, {0, 0, 100, 60}, {46, -4, 100, 60}},
        {blGlyphLeft, 0, 40, {0, 0, 100, 40}, {48, -4, 100, 40}}, // glyph + c' + 10
        {blGlyphRight, 0, 45, {0, 0, 100, 45}, {0, -4, 56, 45}},
        {blGlyphRight, 0, 40, {0, 0, 100, 40}, {0, -4, 52, 40}},
        {blGlyphTop, 0, 30, item30, {0, -4, 100, 30}},
        {blGlyphBottom, 0, 30, item30, {0, -4, 100, 30}},
        {blGlyphLeft, 0, 30, {1, 1, 101, 31}, {42, -3, 101, 31}}, // pressed: shifted item
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "layout " << int(c.layout) << " margin " << c.margin << " H " << c.height);
        const int capAfterInset = ComputeFaceGeometry(100, c.height).capAfterInset;
        EXPECT_EQ(CaptionRect(c.item, c.layout, c.margin, c.height, 16, capAfterInset), c.expected);
    }
}

TEST(ButtonFaceGeometry, CaptionBaselineCentresTheLettersBand)
{
    struct Case {
        FaceRect text;
        int ascent, descent;
        int baseline;
    };
    const Case cases[] = {
        {{0, -4, 100, 30}, 22, 5, 22}, // 34 - 27 = 7: half of it rounds to even, 4
        {{0, -4, 100, 30}, 20, 5, 20}, // 9 / 2 = 4.5 -> 4
        {{0, -4, 100, 30}, 20, 6, 20}, // 8 / 2 = 4
        {{0, -4, 100, 45}, 24, 6, 30}, // 19 / 2 = 9.5 -> 10
        {{0, -4, 100, 60}, 40, 9, 44}, // 15 / 2 = 7.5 -> 8
        {{1, -3, 101, 31}, 22, 5, 23}, // pressed: everything one pixel lower
        {{0, -4, 100, 20}, 30, 8, 19}, // a band taller than the rectangle overhangs both edges evenly
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "height " << c.text.Height() << " band " << c.ascent << "+" << c.descent);
        EXPECT_EQ(CaptionBaseline(c.text, c.ascent, c.descent), c.baseline);
    }
}

TEST(ButtonFaceGeometry, CaptionRoomKeepsClearOfTheRoundedEnds)
{
    // Half of c' stays clear at each rounded end: round(7.5) = 8 at H = 30,
    // round(11.5) = 12 at H = 45; a rectangle already narrowed past a glyph
    // keeps its own edge on that side.
    EXPECT_EQ(CaptionRoom({0, -4, 100, 30}, 100, 15), 84);
    EXPECT_EQ(CaptionRoom({0, -4, 70, 30}, 70, 15), 54);
    EXPECT_EQ(CaptionRoom({41, -4, 100, 30}, 100, 15), 51);
    EXPECT_EQ(CaptionRoom({0, -4, 56, 45}, 100, 23), 44);
    EXPECT_EQ(CaptionRoom({0, -4, 140, 60}, 140, 30), 110);
}

TEST(ButtonFaceGeometry, ContourRectangles)
{
    // H = 45: t = round(11.5) + 1 = 13, u = round(4.5) + 2 = 6.
    EXPECT_EQ(ContourRect(100, 45, 23, false), (FaceRect{13, 6, 87, 39}));
    EXPECT_EQ(ContourRect(100, 45, 23, true), (FaceRect{14, 7, 88, 40}));
    // H = 30: t = round(7.5) + 1 = 9, u = 3 + 2.
    EXPECT_EQ(ContourRect(100, 30, 15, false), (FaceRect{9, 5, 91, 25}));
    // H = 25: u = round(2.5) + 2 = 4.
    EXPECT_EQ(ContourRect(80, 25, 12, false), (FaceRect{7, 4, 73, 21}));
}

TEST(ButtonFaceColours, ContourColours)
{
    const std::array<unsigned int, kColorSBCount> expected = {0xC8C8FF, 0xFFC8C8, 0xC8FFC8, 0xC8FFC8,
                                                              0xC8C8FF, 0xC8FFFF, 0x4080FF};
    for (int v = 0; v < kColorSBCount; ++v)
        EXPECT_EQ(ContourColour(static_cast<TColorSB>(v)), expected[v]) << v;
}

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& c, std::ostream* os) { *os << "(" << c.r << ", " << c.g << ", " << c.b << ")"; }

// Recolours one pixel with alpha 77 and checks the alpha survives.
Rgb Recoloured(Rgb in, TColorSB variant, unsigned char lightening)
{
    std::uint8_t px[4] = {std::uint8_t(in.r), std::uint8_t(in.g), std::uint8_t(in.b), 77};
    RecolourRgba(px, 1, variant, lightening);
    EXPECT_EQ(px[3], 77);
    return {px[0], px[1], px[2]};
}

} // namespace

TEST(ButtonFaceColours, Variants)
{
    struct Case {
        Rgb in;
        TColorSB variant;
        Rgb out;
    };
    const Case cases[] = {
        {{255, 0, 0}, DRed, {255, 0, 0}},
        {{255, 0, 0}, DGreen, {0, 255, 0}},
        {{255, 0, 0}, DBlue, {0, 255, 255}},
        {{255, 0, 0}, DNavy, {0, 0, 255}},
        {{255, 0, 0}, DYellow, {255, 255, 0}},
        {{255, 0, 0}, DViolet, {255, 0, 255}},
        {{255, 0, 0}, DOrang, {255, 102, 0}},
        // Distinct channels show which one goes where.
        {{10, 20, 30}, DGreen, {20, 10, 30}},
        {{10, 20, 30}, DBlue, {30, 10, 10}},
        {{10, 20, 30}, DNavy, {30, 20, 10}},
        {{10, 20, 30}, DYellow, {10, 10, 30}},
        {{10, 20, 30}, DViolet, {10, 20, 10}},
        // Orange touches only pixels whose red stands out strictly.
        {{10, 20, 30}, DOrang, {10, 20, 30}},
        {{200, 200, 0}, DOrang, {200, 200, 0}},
        {{200, 0, 200}, DOrang, {200, 0, 200}},
        // B' = round(17.5) = 18, G' = 18 + round(72.8); then round(10.5) = 10.
        {{200, 50, 25}, DOrang, {200, 91, 18}},
        {{200, 50, 15}, DOrang, {200, 86, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "variant " << int(c.variant));
        EXPECT_EQ(Recoloured(c.in, c.variant, 0), c.out);
    }
}

TEST(ButtonFaceColours, Lightening)
{
    struct Case {
        Rgb in;
        TColorSB variant;
        unsigned char k;
        Rgb out;
    };
    const Case cases[] = {
        {{255, 0, 0}, DRed, 50, {255, 128, 128}}, // 127.5 goes to even
        {{1, 3, 100}, DRed, 50, {128, 129, 178}},
        {{100, 0, 254}, DRed, 20, {131, 51, 254}},
        {{0, 0, 0}, DRed, 100, {255, 255, 255}},
        {{255, 0, 0}, DGreen, 50, {128, 255, 128}}, // permuted first, then lightened
        {{255, 0, 0}, DOrang, 10, {255, 117, 26}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "variant " << int(c.variant) << " k " << int(c.k));
        EXPECT_EQ(Recoloured(c.in, c.variant, c.k), c.out);
    }
}

TEST(ButtonFaceColours, RecoloursEveryPixelOfTheBuffer)
{
    std::vector<std::uint8_t> buffer = {255, 0, 0, 255, 0, 0, 0, 0, 128, 64, 32, 10};
    RecolourRgba(buffer.data(), 3, DNavy, 0);
    EXPECT_EQ(buffer, (std::vector<std::uint8_t>{0, 0, 255, 255, 0, 0, 0, 0, 32, 64, 128, 10}));
}

TEST(ButtonFaceLook, WhichLookWins)
{
    constexpr unsigned int kFont = 0x112233, kMouse = 0x00FFFF, kSilver = 0xC0C0C0;
    struct Case {
        const char* what;
        bool lightRect, lightFont, grayDis, kontur, isFocused, mouseInPos;
        unsigned short bits;
        FaceLook look;
    };
    const unsigned short F = kStateFocus, D = kStateDisabled, S = kStateSelected;
    const Case cases[] = {
        {"normal", false, false, false, true, false, false, 0, {false, kFont, false}},
        {"focused, LightRect: lit, never the contour", true, false, false, true, true, false, F, {true, kFont, false}},
        {"hovered, LightRect: lit", true, false, false, true, false, true, 0, {true, kFont, false}},
        {"focused, no LightRect, Kontur: contour only",
         false,
         false,
         false,
         true,
         true,
         false,
         F,
         {false, kFont, true}},
        {"hovered, no LightRect, Kontur: neither", false, false, false, true, false, true, 0, {false, kFont, false}},
        {"focused, no LightRect, no Kontur", false, false, false, false, true, false, F, {false, kFont, false}},
        {"pressed and focused keeps the contour", false, false, false, true, true, false, F | S, {false, kFont, true}},
        {"active default button without the focus bit",
         true,
         false,
         false,
         true,
         true,
         false,
         0,
         {false, kFont, false}},
        {"focus bit without being active", false, false, false, true, false, false, F, {false, kFont, false}},
        {"hovered, LightFont", false, true, false, true, false, true, 0, {false, kMouse, false}},
        {"LightFont, not hovered", false, true, false, true, false, false, 0, {false, kFont, false}},
        {"disabled, hovered, LightFont, GrayDis: silver",
         true,
         true,
         true,
         true,
         false,
         true,
         D,
         {true, kSilver, false}},
        {"disabled, hovered, LightFont, no GrayDis: font colour",
         false,
         true,
         false,
         true,
         false,
         true,
         D,
         {false, kFont, false}},
        {"enabled with GrayDis", false, false, true, true, false, false, 0, {false, kFont, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FaceState s;
        s.lightRect = c.lightRect;
        s.lightFont = c.lightFont;
        s.grayDis = c.grayDis;
        s.kontur = c.kontur;
        s.isFocused = c.isFocused;
        s.mouseInPos = c.mouseInPos;
        s.stateBits = c.bits;
        s.fontColour = kFont;
        s.colorMouse = kMouse;
        const FaceLook look = ChooseLook(s);
        EXPECT_EQ(look.lit, c.look.lit);
        EXPECT_EQ(look.captionColour, c.look.captionColour);
        EXPECT_EQ(look.contour, c.look.contour);
    }
}
