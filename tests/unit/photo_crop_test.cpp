#include "logic/looks/photo_crop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logic/club/account_fields.h"

using vk::CropFrame;

namespace {

constexpr vk::FrameAspect k45{4, 5};

TEST(PhotoCrop, TheClubPhotoIsFourByFive)
{
    EXPECT_EQ(vk::ReducedAspect(vk::PhotoWidth, vk::PhotoHeight).Width, 4);
    EXPECT_EQ(vk::ReducedAspect(vk::PhotoWidth, vk::PhotoHeight).Height, 5);
}

TEST(PhotoCrop, LargestCentredFrame)
{
    struct Case {
        int w, h;
        CropFrame frame;
    };
    const std::vector<Case> cases = {
        {1200, 1600, {0, 50, 300}},  // portrait taller than 4:5: bands above and below
        {4000, 3000, {800, 0, 600}}, // landscape: bands left and right
        {200, 250, {0, 0, 50}},      // already a club photo: all of it
        {201, 251, {0, 0, 50}},      // the odd pixel stays right and below
        {203, 250, {1, 0, 50}},      // three spare columns: one left, two right
        {4, 5, {0, 0, 1}},           // the smallest picture that holds a frame
        {3, 100, {1, 50, 0}},        // too narrow for any frame
        {0, 0, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        const CropFrame f = vk::LargestCentredFrame(c.w, c.h, k45);
        EXPECT_EQ(f, c.frame);
        if (f.Units > 0) {
            EXPECT_LE(f.X + vk::FrameWidth(f, k45), c.w);
            EXPECT_LE(f.Y + vk::FrameHeight(f, k45), c.h);
        }
    }
}

TEST(PhotoCrop, MovedFramesStopAtTheEdges)
{
    // 1200 x 1600 picture, frame 400 x 500 (100 units).
    struct Case {
        const char* what;
        CropFrame from;
        int dx, dy;
        CropFrame to;
    };
    const std::vector<Case> cases = {
        {"inside", {100, 100, 100}, 50, -30, {150, 70, 100}},
        {"past the left and top", {100, 100, 100}, -500, -500, {0, 0, 100}},
        {"past the right and bottom", {100, 100, 100}, 5000, 5000, {800, 1100, 100}},
        {"far past, no overflow", {100, 100, 100}, 2147483647, -2147483647 - 1, {800, 0, 100}},
        {"already at the corner", {800, 1100, 100}, 1, 1, {800, 1100, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(vk::MovedFrame(c.from, c.dx, c.dy, 1200, 1600, k45), c.to);
    }
}

TEST(PhotoCrop, ResizedFramesKeepTheirCentreAndStayInside)
{
    // 1200 x 1600 picture: at most 300 units, at least 30.
    EXPECT_EQ(vk::MostFrameUnits(1200, 1600, k45), 300);
    EXPECT_EQ(vk::LeastFrameUnits(1200, 1600, k45), 30);
    EXPECT_EQ(vk::LeastFrameUnits(8, 10, k45), 1);
    struct Case {
        const char* what;
        CropFrame from;
        int steps;
        CropFrame to;
    };
    const std::vector<Case> cases = {
        {"grown about its centre", {400, 500, 100}, 1, {380, 475, 110}},
        {"shrunk about its centre", {400, 500, 100}, -1, {420, 525, 90}},
        {"grown at an edge is pushed back in", {0, 0, 100}, 1, {0, 0, 110}},
        {"never beyond the picture", {0, 50, 300}, 3, {0, 50, 300}},
        {"grown from near the most", {100, 100, 290}, 1, {0, 75, 300}},
        {"never below the least", {400, 500, 31}, -5, {402, 502, 30}},
        {"no steps, no change", {400, 500, 100}, 0, {400, 500, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(vk::ResizedFrame(c.from, c.steps, 1200, 1600, k45), c.to);
    }
}

TEST(PhotoCrop, ClampedFramesFitTheirPicture)
{
    // A frame kept from a larger picture is made to fit a smaller one.
    EXPECT_EQ(vk::ClampedFrame({500, 900, 300}, 400, 500, k45), (CropFrame{0, 0, 100}));
    EXPECT_EQ(vk::ClampedFrame({10, 10, 0}, 400, 500, k45), (CropFrame{10, 10, 10}));
    EXPECT_EQ(vk::ClampedFrame({10, 10, 5}, 3, 3, k45), (CropFrame{}));
}

TEST(PhotoCrop, FitScale)
{
    EXPECT_DOUBLE_EQ(vk::FitScale(1200, 1600, 400, 400), 0.25);
    EXPECT_DOUBLE_EQ(vk::FitScale(4000, 3000, 400, 400), 0.1);
    EXPECT_DOUBLE_EQ(vk::FitScale(100, 50, 400, 400), 4.0); // small pictures are enlarged
    EXPECT_DOUBLE_EQ(vk::FitScale(0, 50, 400, 400), 0.0);
}

TEST(PhotoCrop, TheQualityFallsUntilThePhotoFits)
{
    std::vector<int> tried;
    const auto encode = [&tried](int quality) {
        tried.push_back(quality);
        return std::string(static_cast<std::size_t>(quality) * 1000, 'x');
    };
    EXPECT_EQ(vk::FirstFitting(encode, 100000, 90, 5, 20)->size(), 90000u);
    EXPECT_EQ(tried, std::vector<int>{90});
    tried.clear();
    EXPECT_EQ(vk::FirstFitting(encode, 62000, 90, 5, 20)->size(), 60000u);
    EXPECT_EQ(tried, (std::vector<int>{90, 85, 80, 75, 70, 65, 60}));
    tried.clear();
    EXPECT_FALSE(vk::FirstFitting(encode, 1000, 90, 5, 20));
    EXPECT_EQ(tried.back(), 20);
    // An encoder that fails gives nothing, not an empty photo.
    EXPECT_FALSE(vk::FirstFitting([](int) { return std::string(); }, 1000, 90, 5, 20));
}

TEST(PhotoCrop, PicturesAPhotoIsCutFrom)
{
    using vk::PhotoSource;
    struct Case {
        const char* what;
        long long bytes, w, h;
        PhotoSource expected;
    };
    const std::vector<Case> cases = {
        {"a 48-megapixel phone photo", 12 << 20, 8000, 6000, PhotoSource::Fits},
        {"exactly the pixel cap", 1000, 8000, 8000, PhotoSource::Fits},
        {"one row over the pixel cap", 1000, 8000, 8001, PhotoSource::TooLarge},
        {"a file over the byte cap", vk::PhotoSourceByteCap + 1, 100, 100, PhotoSource::TooLarge},
        {"a strip longer than the pixel cap", 1000, 1, 64000001, PhotoSource::TooLarge},
        {"sides whose product overflows 64 bits", 1000, 1LL << 40, 1LL << 40, PhotoSource::TooLarge},
        {"the smallest frame", 100, 4, 5, PhotoSource::Fits},
        {"too narrow for a frame", 100, 3, 500, PhotoSource::TooSmall},
        {"too low for a frame", 100, 500, 4, PhotoSource::TooSmall},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(vk::CheckPhotoSource(c.bytes, c.w, c.h), c.expected);
    }
}

} // namespace
