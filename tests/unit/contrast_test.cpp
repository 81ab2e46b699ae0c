#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "logic/looks/contrast.h"

using namespace vk;

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kAqua{0, 255, 255};
constexpr Rgb kNavy{0, 0, 128};
constexpr Rgb kGloss{110, 110, 190};

// A small RGBA picture to draw letters on.
struct Picture {
    Picture(int w, int h, Rgb fill) : width(w), height(h), bytes(static_cast<std::size_t>(4 * w * h))
    {
        Fill(0, 0, w, h, fill);
    }
    void Fill(int x, int y, int w, int h, Rgb c)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) {
                std::uint8_t* p = &bytes[static_cast<std::size_t>(4 * (j * width + i))];
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
                p[3] = 255;
            }
    }
    ConstRgbaPixels Pixels() const { return {bytes.data(), width, height, 4 * width}; }

    int width;
    int height;
    std::vector<std::uint8_t> bytes;
};

} // namespace

TEST(Contrast, LuminanceAndRatioFollowTheWcagFigures)
{
    struct Case {
        Rgb a, b;
        double ratio;
    };
    const Case cases[] = {
        {kBlack, kWhite, 21.0},
        {kWhite, kBlack, 21.0}, // either order
        {kWhite, kWhite, 1.0},
        {{118, 118, 118}, kWhite, 4.54}, // the lightest grey that still passes on white
        {{119, 119, 119}, kWhite, 4.48},
        {kAqua, kBlack, 16.75},
        {{1, 1, 1}, kBlack, 1.006}, // the linear toe of the sRGB curve
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.a.r) << "," << int(c.a.g) << "," << int(c.a.b));
        EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01);
    }
    EXPECT_DOUBLE_EQ(RelativeLuminance(kWhite), 1.0);
    EXPECT_NEAR(RelativeLuminance({255, 0, 0}), 0.2126, 1e-9);
}

TEST(Contrast, HaloIsAShadeOrTintOfTheTextThatReachesTheEnhancedRatio)
{
    struct Case {
        Rgb text, halo;
    };
    const Case cases[] = {
        {kAqua, {0, 64, 64}},            // the menu's captions
        {{255, 255, 0}, {64, 64, 0}},    // the tabs' and the hovered captions
        {{192, 192, 192}, {48, 48, 48}}, // the greyed captions
        {kNavy, {204, 204, 230}},        // the member lines
        {kWhite, {64, 64, 64}},
        {kBlack, {204, 204, 204}},
        // A middle grey has no shade or tint far enough from it: black is
        // the one colour that still reads against it.
        {{119, 119, 119}, kBlack},
        {{90, 90, 90}, kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.text.r) << "," << int(c.text.g) << "," << int(c.text.b));
        const Rgb halo = HaloFor(c.text);
        EXPECT_EQ(halo, c.halo);
        EXPECT_GE(ContrastRatio(halo, c.text), kReadableContrast);
    }
}

TEST(Contrast, CaptionAgainstWhatSurroundsItsLetters)
{
    // One letter stroke, 4 x 10, in the middle of a 20 x 20 face.
    struct Case {
        const char* what;
        Rgb face;
        bool outline;     // a black ring one pixel wide round the stroke
        bool shadow;      // black one pixel right and below only
        bool glossyRight; // the right part of the face light
        bool rim;         // a column of the stroke only partly covered, outline given
        double ratio;
    };
    const Case cases[] = {
        {"on a dark face", kNavy, false, false, false, false, ContrastRatio(kAqua, kNavy)},
        {"on a light face", kGloss, false, false, false, false, ContrastRatio(kAqua, kGloss)},
        {"outlined on a light face", kGloss, true, false, false, false, ContrastRatio(kAqua, kBlack)},
        // The rim is the letter's, not what surrounds it.
        {"outlined, with a soft rim", kGloss, true, false, false, true, ContrastRatio(kAqua, kBlack)},
        // A shadow leaves the upper and left edges on the face.
        {"shadowed on a light face", kGloss, false, true, false, false, ContrastRatio(kAqua, kGloss)},
        // A light part of the face beside a third of the edges is enough to
        // fail the caption.
        {"beside a gloss", kNavy, false, false, true, false, ContrastRatio(kAqua, kGloss)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Picture face(20, 20, c.face);
        if (c.glossyRight)
            face.Fill(12, 0, 8, 20, kGloss);
        Picture drawn = face;
        if (c.outline)
            drawn.Fill(7, 4, 6, 12, kBlack);
        if (c.shadow)
            drawn.Fill(9, 6, 4, 10, kBlack);
        drawn.Fill(8, 5, 4, 10, kAqua);
        if (c.rim)
            drawn.Fill(8, 5, 1, 10, {0, 180, 180});
        const CaptionContrast figure =
            MeasureCaptionContrast(drawn.Pixels(), face.Pixels(), kAqua, c.rim ? std::optional(kBlack) : std::nullopt);
        EXPECT_NEAR(figure.ratio, c.ratio, 0.01);
        EXPECT_EQ(figure.edges, 2 * 4 + 2 * 10);
    }
}

TEST(Contrast, OnlyWhatTheCaptionDrewCountsAsLetters)
{
    // The face itself has a spot of the caption's colour: without the face
    // to compare with it is taken for a letter, with it it is not.
    Picture face(20, 20, kNavy);
    face.Fill(1, 1, 2, 2, kAqua);
    Picture drawn = face;
    drawn.Fill(8, 5, 4, 10, kAqua);
    EXPECT_EQ(MeasureCaptionContrast(drawn.Pixels(), face.Pixels(), kAqua).edges, 28);
    EXPECT_EQ(MeasureCaptionContrast(drawn.Pixels(), {}, kAqua).edges, 28 + 8);

    // Nothing of the caption's colour, or pictures of different sizes:
    // nothing to measure, and a zero that fails any check.
    const Picture small(10, 10, kNavy);
    for (const ConstRgbaPixels& other : {face.Pixels(), small.Pixels()}) {
        const CaptionContrast none = MeasureCaptionContrast(face.Pixels(), other, kWhite);
        EXPECT_EQ(none.ratio, 0);
        EXPECT_EQ(none.edges, 0);
    }
}
