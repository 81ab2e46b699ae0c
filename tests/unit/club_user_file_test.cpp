#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "logic/club/user_file.h"
#include "common/text_cipher.h"

using namespace vk;
namespace fs = std::filesystem;

namespace {

class ClubUserFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path()
               / ("vokabron-userfile-" + std::to_string(::getpid()) + "-"
                  + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Vokabron");
        path_ = UserFilePath((dir_ / "Vokabron").string() + "/");
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    fs::path dir_;
    std::string path_;
};

} // namespace

TEST(ClubUserFilePath, LiesInTheFolderAboveTheProgram)
{
    EXPECT_EQ(UserFilePath("/home/ann/Games/Vokabron/"), "/home/ann/Games/TevUser.tev");
    EXPECT_EQ(UserFilePath("/home/ann/Games/Vokabron"), "/home/ann/Games/TevUser.tev");
    EXPECT_EQ(UserFilePath("/Vokabron/"), "/TevUser.tev");
    EXPECT_EQ(UserFilePath("/"), "/TevUser.tev"); // the root has no folder above
}

TEST_F(ClubUserFile, WrittenFileReadsBackAndOnlyItsOwnerCanReadIt)
{
    EXPECT_EQ(path_, (dir_ / "TevUser.tev").string());
    ClubStateData club;
    club.ClubUser.Nick = "Nomad";
    club.ClubUser.PwC = EncodeText("secret12", ClubStartKey);
    ASSERT_TRUE(WriteUserFile(path_, club));
    EXPECT_TRUE(club.UserFileSaved);
    EXPECT_EQ(Contents(path_), "Tev User File\r\nNomad\r\n" + club.ClubUser.PwC + "\r\n");
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    std::string nick = "x", stored = "y";
    ASSERT_TRUE(ReadUserFile(path_, nick, stored));
    EXPECT_EQ(nick, "Nomad");
    EXPECT_EQ(DecodeText(stored, ClubStartKey), "secret12");

    // Rewriting keeps the mode and leaves no temporary file behind.
    club.ClubUser.Nick = "Lynx";
    ASSERT_TRUE(WriteUserFile(path_, club));
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2); // folder + file

    DeleteUserFile(path_, club);
    EXPECT_FALSE(club.UserFileSaved);
    EXPECT_FALSE(fs::exists(path_));
    EXPECT_FALSE(ReadUserFile(path_, nick, stored));
    EXPECT_EQ(nick, "");
    EXPECT_EQ(stored, "");
}

TEST_F(ClubUserFile, MarkerMustMatchExactly)
{
    std::string nick, stored;
    Put(path_, "tev user file\r\nNomad\r\nabc\r\n");
    EXPECT_FALSE(ReadUserFile(path_, nick, stored));
    EXPECT_EQ(nick, "");
    Put(path_, "Tev User File\nNomad\nabc\n"); // bare line feeds are read too
    EXPECT_TRUE(ReadUserFile(path_, nick, stored));
    EXPECT_EQ(nick, "Nomad");
    EXPECT_EQ(stored, "abc");
    Put(path_, "Tev User File\r\n"); // lines missing: empty values
    EXPECT_TRUE(ReadUserFile(path_, nick, stored));
    EXPECT_EQ(nick, "");
}

TEST_F(ClubUserFile, OlderFileOthersCouldReadIsClosedAtTheNextWrite)
{
    Put(path_, "Tev User File\r\nOld\r\nxyz\r\n");
    fs::permissions(path_,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    ClubStateData club;
    club.ClubUser.Nick = "New";
    ASSERT_TRUE(WriteUserFile(path_, club));
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Contents(path_), "Tev User File\r\nNew\r\n\r\n");
}

TEST_F(ClubUserFile, UnwritablePlaceIsAResult)
{
    ClubStateData club;
    club.ClubUser.Nick = "New";
    EXPECT_FALSE(WriteUserFile((dir_ / "missing" / "TevUser.tev").string(), club));
    fs::create_directory(path_); // a folder where the file should be
    EXPECT_FALSE(WriteUserFile(path_, club));
    EXPECT_FALSE(club.UserFileSaved);
}
