// Member cards and photos through the client's own requests.
#include <gtest/gtest.h>

#include "client_fixture.h"
#include "logic/club/jpeg_frame.h"

using namespace vk;
using namespace vk::test;

namespace {

// Logs the member in and plays one completed rating cycle of `score`, which
// puts the member in the club top ten.
void CompleteOneCycle(HttpClient& http, const ClubSide& club, const std::string& nick, int score)
{
    TTevGame game;
    ASSERT_TRUE(ClubReadGame(http, club.accPath, nick, "secret12", "zarvo", game));
    game.Kon += 1;
    game.Rating = 0.0 / game.Kon + game.Kon;
    ASSERT_TRUE(ClubSaveGame(http, club.accPath, nick, "secret12", "zarvo", game));
    game.Sessions += 1;
    game.Best = std::max(game.Best, score);
    game.Rating = static_cast<double>(score) / game.Kon + game.Kon;
    ASSERT_TRUE(ClubSaveGame(http, club.accPath, nick, "secret12", "zarvo", game));
}

class ClientCards : public ::testing::Test {
protected:
    ClientCards() : club(server) {}

    std::string AvaFile(const std::string& nick, const std::string& bytes)
    {
        return test::AvaFile(ava.Path(), nick, bytes);
    }

    TestServer server;
    ClubSide club;
    ScratchFolder ava;
};

} // namespace

TEST_F(ClientCards, CardTravelsByteExactToOwnerAndToOthers)
{
    HttpClient owner;
    club.Join(owner, Member("Nomad"));

    TInfo14 card;
    card.Name1 = "\xC8\xE2\xE0\xED"; // "Иван"
    card.Name2 = "Tom & Jerry";
    card.About = "a=b+c 100% %41 I know nothing";
    card.Telephone = "+7 (900) 123-45-67";
    card.EMailO = "nora@example.org";
    card.WebSite = "https://example.org/x?a=1&b=2";
    card.Skype = "no";
    card.OK = "ok.ru/nomad";
    card.Telegram = "@nomad";
    card.FaceBook = "https://facebook.com/" + std::string(60 - 21, 'n'); // the longest a field may be
    card.YouTube = "https://youtube.com/@nomad";
    ASSERT_EQ(card.FaceBook.size(), 60u);
    ASSERT_TRUE(ClubSaveInfo(owner, club.accPath, "Nomad", card));

    TInfo14 own;
    ClubReadInfo(owner, club.accPath, "Nomad", own);
    EXPECT_EQ(own, card);

    // Once the member leads the club rating, anyone sees the card.
    CompleteOneCycle(owner, club, "Nomad", 950);
    HttpClient stranger;
    ClubTopTenRows rows;
    ASSERT_TRUE(ClubReadTopTen(stranger, club.accPath, "zarvo", rows));
    ASSERT_EQ(rows[0].Nick, "Nomad");
    EXPECT_EQ(rows[0].Rating, 951);
    EXPECT_EQ(rows[0].Country, "1-001");
    TInfo14 chairman;
    ClubReadInfo(stranger, club.accPath, rows[0].Nick, chairman);
    EXPECT_EQ(chairman, card);

    // A link that is not a web address is refused and changes nothing.
    TInfo14 planted = card;
    planted.VK = "file:///etc/passwd";
    EXPECT_FALSE(ClubSaveInfo(owner, club.accPath, "Nomad", planted));
    TInfo14 after;
    ClubReadInfo(owner, club.accPath, "Nomad", after);
    EXPECT_EQ(after, card);
}

TEST_F(ClientCards, PhotoUploadAndLoad)
{
    HttpClient http;
    club.Join(http, Member("Nomad"));

    // Nobody has a photo yet: the slot keeps what it held.
    std::string slot = "previous";
    EXPECT_FALSE(ClubLoadPhoto(club.photoFolder, "Nomad", slot));
    EXPECT_FALSE(ClubLoadPhoto(club.photoFolder, "", slot));
    EXPECT_EQ(slot, "previous");

    const std::string photo = Jpeg(200, 250);
    ASSERT_TRUE(ClubUploadPhoto(http, club.photoUpload, AvaFile("Nomad", photo)));
    ASSERT_TRUE(ClubLoadPhoto(club.photoFolder, "Nomad", slot));
    const auto frame = ReadJpegFrame(slot);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Width, 200);
    EXPECT_EQ(frame->Height, 250);
    EXPECT_EQ(Decoded(slot), Decoded(photo));

    // Wrong size or not a JPEG: refused, the stored photo stays.
    EXPECT_FALSE(ClubUploadPhoto(http, club.photoUpload, AvaFile("Nomad", Jpeg(250, 200))));
    EXPECT_FALSE(ClubUploadPhoto(http, club.photoUpload, AvaFile("Nomad", Jpeg(200, 250, "PNG"))));
    std::string again;
    ASSERT_TRUE(ClubLoadPhoto(club.photoFolder, "Nomad", again));
    EXPECT_EQ(Decoded(again), Decoded(photo));
}

TEST_F(ClientCards, PhotoOfANickWithSignsLoadsThroughItsEscapedAddress)
{
    // "(", ")", "!", ",", "@" are allowed in nicks; the address carries them
    // percent-encoded so none can end or bend the path.
    HttpClient http;
    club.Join(http, Member("M(a)!,@x"));
    const std::string photo = Jpeg(200, 250);
    ASSERT_TRUE(ClubUploadPhoto(http, club.photoUpload, AvaFile("M(a)!,@x", photo)));
    std::string slot;
    ASSERT_TRUE(ClubLoadPhoto(club.photoFolder, "M(a)!,@x", slot));
    EXPECT_EQ(Decoded(slot), Decoded(photo));
    // A nick that names another path finds nothing.
    EXPECT_FALSE(ClubLoadPhoto(club.photoFolder, "../M(a)!,@x", slot));
}
