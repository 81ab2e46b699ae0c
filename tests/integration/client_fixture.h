#pragma once
// The game's club side against a real server: one shared client as in the
// game, the account, world top ten and statistics addresses taken from the
// server's configuration text through the client's own reading and
// decoding.  Only the configuration, news and photo addresses are the
// test's own (the built-in ones name the default port).
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/club_paths.h"
#include "net/account_requests.h"
#include "net/club_startup.h"
#include "common/codepage.h"
#include "common/text_cipher.h"
#include "club_member.h"
#include "server_harness.h"
#include "test_database.h"

namespace vk::test {

struct ClubSide {
    explicit ClubSide(const TestServer& server) { Connect(server); }

    // After a restart the server listens on a new port: read its
    // configuration again.
    void Connect(const TestServer& server)
    {
        const std::string base = server.Base();
        configAddress = StoredClubAddress(base, ClubConfig);
        newsAddress = StoredClubAddress(base, ClubNews);
        photoFolder = StoredClubAddress(base, ClubPhotoFolder);
        photoUpload = StoredClubAddress(base, ClubPhotoUpload);
        answers = FetchRemoteConfig(configAddress);
        accPath = answers.AccPath;
        wttAddress = DecodeText(answers.WttPath, AddressStartKey);
        statPath = answers.StatPath;
    }

    // A new member (password "secret12"), logged in on `http`.
    void Join(HttpClient& http, const TTevUser& member) const
    {
        ASSERT_EQ(ClubRegister(http, accPath, member), 0) << member.Nick;
        LogIn(http, member.Nick);
    }
    void LogIn(HttpClient& http, const std::string& nick) const
    {
        TTevUser user;
        ASSERT_TRUE(ClubLogin(http, accPath, nick, "secret12", user)) << nick;
    }

    std::string configAddress, newsAddress, photoFolder, photoUpload;
    RemoteConfigAnswers answers;
    std::string accPath;
    std::string statPath;
    std::string wttAddress;
};

// A picture with a pattern in every pixel, as JPEG (or another format).
inline std::string Jpeg(int width, int height, const char* format = "JPG")
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x, y % 256, (x * y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return bytes.toStdString();
}

inline QImage Decoded(const std::string& bytes)
{
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
}

// A folder of the client's own for one test, removed with it.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vokabron-client-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~ScratchFolder()
    {
        if (!path_.empty())
            std::filesystem::remove_all(path_);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Writes bytes to a file named as the card window names the photo it sends.
inline std::string AvaFile(const std::string& folder, const std::string& nick, const std::string& bytes)
{
    const std::string path = folder + "/" + nick + ".jpg";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// A look into the server's database.
class Database {
public:
    explicit Database(std::string db) : db_(std::move(db)) {}

    // The first column of the first row as an integer (-1 without a row,
    // -2 for NULL).
    long long Integer(const std::string& sql) const
    {
        const auto cell = DbFirst(db_, sql);
        return !cell.found ? -1 : cell.null ? -2 : std::stoll(cell.text);
    }

    // The money rules: every balance is its ledger's sum, transfers sum to
    // zero, nobody is below zero.
    void ExpectMoneyInvariants() const
    {
        EXPECT_EQ(Integer("SELECT COUNT(*) FROM member m WHERE m.balance <> "
                          "(SELECT COALESCE(SUM(delta), 0) FROM ledger l WHERE l.member_id = m.id)"),
                  0);
        EXPECT_EQ(Integer("SELECT COALESCE(SUM(delta), 0) FROM ledger WHERE kind IN ('transfer_out', 'transfer_in')"),
                  0);
        EXPECT_EQ(Integer("SELECT COUNT(*) FROM member WHERE balance < 0"), 0);
    }

private:
    std::string db_;
};

} // namespace vk::test
