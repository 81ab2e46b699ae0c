#include <gtest/gtest.h>

#include <tuple>

#include "logic/club/jpeg_frame.h"
#include "server/jpeg_photo.h"

using namespace vks;

namespace {

std::string Segment(unsigned marker, const std::string& payload)
{
    const std::size_t length = payload.size() + 2;
    std::string s = {'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                     static_cast<char>(length & 0xFF)};
    return s + payload;
}

std::string Frame(unsigned marker, int width, int height)
{
    return Segment(marker, std::string{8, static_cast<char>(height >> 8), static_cast<char>(height & 0xFF),
                                       static_cast<char>(width >> 8), static_cast<char>(width & 0xFF), 1, 1, 0x11, 0});
}

const std::string kSoi = "\xFF\xD8";
const std::string kEoi = "\xFF\xD9";
const std::string kApp0 = Segment(0xE0, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
const std::string kExif = Segment(0xE1, std::string("Exif\0\0GPS 55.75N 37.62E", 24));
const std::string kComment = Segment(0xFE, "made with a phone");
const std::string kTables = Segment(0xDB, std::string(65, '\x01')) + Segment(0xC4, std::string(20, '\x02'));
const std::string kScan =
    Segment(0xDA, std::string("\1\1\0\0\x3F\0", 6)) + std::string("\x12\x34\xFF\x00\x56\xFF\xD0\x78", 8);

std::string Photo(const std::string& frame, const std::string& extra = {})
{
    return kSoi + kApp0 + kExif + kComment + kTables + frame + extra + kScan + kEoi;
}

} // namespace

TEST(JpegPhoto, KeepsThePictureAndDropsMetadata)
{
    const auto clean = CleanPhoto(Photo(Frame(0xC0, 200, 250)) + "trailing bytes");
    ASSERT_TRUE(clean);
    EXPECT_EQ(*clean, kSoi + kApp0 + kTables + Frame(0xC0, 200, 250) + kScan + kEoi);
    // The card window's own check takes what is stored.
    const auto frame = vk::ReadJpegFrame(*clean);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Width, 200);
    EXPECT_EQ(frame->Height, 250);
    EXPECT_TRUE(CleanPhoto(Photo(Frame(0xC2, 200, 250)))); // progressive
}

TEST(JpegPhoto, RefusesEverythingElse)
{
    const std::string good = Photo(Frame(0xC0, 200, 250));
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"landscape", Photo(Frame(0xC0, 250, 200))},
        {"huge frame", Photo(Frame(0xC0, 65535, 65535))},
        {"truncated in the scan", good.substr(0, good.size() - 6)},
        {"no end marker", good.substr(0, good.size() - 2)},
        {"no frame", kSoi + kApp0 + kTables + kScan + kEoi},
        {"two frames", Photo(Frame(0xC0, 200, 250), Frame(0xC1, 200, 250))},
        {"PNG", std::string("\x89PNG\r\n\x1A\n", 8) + std::string(100, '\0')},
        {"segment running past the end", kSoi + Segment(0xE0, "x").substr(0, 3) + "\x7F\xFF"},
        {"empty", ""},
    };
    for (const auto& [what, bytes] : cases)
        EXPECT_FALSE(CleanPhoto(bytes)) << what;
}

// The game's frame check and the server's cleaner walk one chain: what one
// refuses the other refuses, so the game never offers a photo the club
// would turn away.
TEST(JpegPhoto, TheGameAndTheServerReadOneChain)
{
    const std::string frame = Frame(0xC0, 200, 250);
    const std::vector<std::tuple<const char*, std::string, bool>> cases = {
        {"a photo", Photo(frame), true},
        {"fill bytes before a marker", kSoi + "\xFF\xFF" + kTables + frame + kScan + kEoi, true},
        {"restarts inside the scan", kSoi + frame + kScan + std::string("\xFF\xD1\x01\xFF\x00", 5) + kEoi, true},
        {"tables between two scans", kSoi + frame + kScan + kTables + kScan + kEoi, true},
        {"a restart between segments", kSoi + "\xFF\xD0" + frame + kScan + kEoi, false},
        {"a second start marker", kSoi + kSoi + frame + kScan + kEoi, false},
        {"a broken segment after the scan", kSoi + frame + kScan + std::string("\xFF\xC4\x00", 3) + kEoi, false},
        {"an end marker without a scan", kSoi + frame + kEoi, false},
        {"a frame after the scan", kSoi + kScan + frame + kEoi, false},
        {"two frames", kSoi + frame + frame + kScan + kEoi, false},
    };
    for (const auto& [what, bytes, whole] : cases) {
        EXPECT_EQ(vk::ReadJpegFrame(bytes).has_value(), whole) << what;
        EXPECT_EQ(CleanPhoto(bytes).has_value(), whole) << what;
    }
}
