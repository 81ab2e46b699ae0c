#include "net/account_flows.h"

#include "net/account_requests.h"
#include "common/text_cipher.h"

namespace vk {
namespace {

// Runs the steps of a sequence while every request sent so far found its
// server.
class Sequence {
public:
    explicit Sequence(ClubReads& reads) : connected_(reads.Connected), trouble_(reads.Trouble) {}
    template <typename Step>
    void operator()(Step step)
    {
        if (!connected_)
            return;
        step();
        connected_ = LastRequestAnswered();
        const ClubAnswer reply = LastClubAnswer(false);
        if (reply == ClubAnswer::Unreachable || (reply == ClubAnswer::ServerFault && trouble_ == ClubAnswer::Taken))
            trouble_ = reply;
    }

private:
    bool& connected_;
    ClubAnswer& trouble_;
};

void ReadOwnPhotoAndCard(HttpClient& http, const AccountAddresses& at, ClubReads& reads, Sequence& step)
{
    ClubStateData& club = reads.Club;
    step([&] { club.OwnPhotoLoaded = ClubLoadPhoto(at.PhotoFolder, club.ClubUser.Nick, club.OwnPhoto); });
    step([&] {
        // A card that could not be read leaves the one known: an empty card
        // in the editor would be sent back over the member's own.
        TInfo14 card;
        reads.OwnCardKnown = ClubReadInfo(http, at.AccPath, club.ClubUser.Nick, card);
        if (reads.OwnCardKnown)
            club.ClubUser.Info = card;
    });
}

void ReadChairmanSteps(HttpClient& http, const AccountAddresses& at, ClubStateData& club, Sequence& step)
{
    const std::string chairman = club.ClubTopTen[0].Nick;
    if (chairman.empty()) {
        // No chairman while the top ten is empty: nothing to ask for.
        club.ChairmanInfo = {};
        club.ChairmanPhotoLoaded = false;
        return;
    }
    step([&] {
        TInfo14 card;
        ClubReadInfo(http, at.AccPath, chairman, card);
        club.ChairmanInfo = card;
    });
    step([&] { club.ChairmanPhotoLoaded = ClubLoadPhoto(at.PhotoFolder, chairman, club.ChairmanPhoto); });
}

} // namespace

void ReadGameAndPlace(HttpClient& http, const std::string& accPath, ClubStateData& club)
{
    const TTevUser& user = club.ClubUser;
    club.GameRecordOk = ClubReadGame(http, accPath, user.Nick, user.Pw, club.ClubGameKey, club.ClubGame);
    if (!club.GameRecordOk)
        return;
    const std::int32_t place = ClubReadPlace(http, accPath, club.ClubGameKey, club.ClubGame.Rating);
    club.GameRecordOk = place >= 0;
    if (club.GameRecordOk)
        club.ClubGame.Place = place;
}

ClubReads ReadAtOpening(HttpClient http, const AccountAddresses& at, ClubStateData club, bool loggedIn)
{
    ClubReads reads{std::move(club)};
    ClubStateData& c = reads.Club;
    c.TopTenOk = c.GameRecordOk = c.MemberCountOk = false;
    Sequence step(reads);
    step([&] { c.TopTenOk = ClubReadTopTen(http, at.AccPath, c.ClubGameKey, c.ClubTopTen); });
    if (loggedIn)
        step([&] { ReadGameAndPlace(http, at.AccPath, c); });
    step([&] {
        c.MemberCount = ClubReadMemberCount(http, at.AccPath);
        c.MemberCountOk = c.MemberCount >= 0;
    });
    if (loggedIn)
        ReadOwnPhotoAndCard(http, at, reads, step);
    ReadChairmanSteps(http, at, c, step);
    return reads;
}

LoginOutcome LogIn(HttpClient http, const AccountAddresses& at, ClubStateData club, std::uint16_t pwKey)
{
    LoginOutcome out;
    out.Reads.Club = std::move(club);
    ClubStateData& c = out.Reads.Club;
    TTevUser user;
    user.Info = c.ClubUser.Info;
    out.LoggedIn = ClubLogin(http, at.AccPath, c.ClubUser.Nick, c.ClubUser.Pw, user, &c.DeviceToken);
    out.Reads.Connected = LastRequestAnswered();
    out.Login = LastClubAnswer(out.LoggedIn);
    if (!out.LoggedIn) {
        c.GameRecordOk = false;
        c.MemberCountOk = false;
        return out;
    }
    user.PwC = EncodeText(user.Pw, pwKey);
    c.ClubUser = user;
    c.OwnPhotoLoaded = false;
    Sequence step(out.Reads);
    step([&] { ReadGameAndPlace(http, at.AccPath, c); });
    step([&] {
        c.MemberCount = ClubReadMemberCount(http, at.AccPath);
        c.MemberCountOk = c.MemberCount >= 0;
    });
    ReadOwnPhotoAndCard(http, at, out.Reads, step);
    ReadChairmanSteps(http, at, c, step);
    step([&] { ClubLoginDate(http, at.AccPath, c.ClubUser.Nick, c.ClubUser.Pw, LoginOrigin); });
    return out;
}

int Register(HttpClient http, const std::string& accPath, TTevUser user) { return ClubRegister(http, accPath, user); }

ClubReads ReadChairman(HttpClient http, const AccountAddresses& at, ClubStateData club)
{
    ClubReads reads{std::move(club)};
    Sequence step(reads);
    ReadChairmanSteps(http, at, reads.Club, step);
    return reads;
}

TransferOutcome TransferTevs(HttpClient http, const std::string& accPath, const std::string& ownNick,
                             const std::string& receiver, std::int32_t amount)
{
    TransferOutcome out;
    out.Balance = ClubReadBalance(http, accPath, ownNick);
    if (!out.Balance) {
        out.Fault = LastClubAnswer(false);
        return out; // no balance, no transfer
    }
    if (*out.Balance < amount) {
        out.Report = TransferReport::NotEnough;
        return out;
    }
    if (ClubAddBalance(http, accPath, receiver, amount)) {
        out.Credited = true;
        const bool debited = ClubAddBalance(http, accPath, ownNick, -amount);
        out.Report = debited ? TransferReport::Done : TransferReport::NoConnect;
        out.Fault = LastClubAnswer(debited);
    } else {
        out.Fault = LastClubAnswer(false);
        // Only an answer from the club says the receiver is not there.
        out.Report = out.Fault == ClubAnswer::Refused ? TransferReport::NoSuchMember : TransferReport::NoConnect;
    }
    // The balance shown is the server's after whatever happened; only a
    // server that is not there is not asked again.
    if (LastRequestAnswered())
        if (const auto balance = ClubReadBalance(http, accPath, ownNick))
            out.Balance = balance;
    return out;
}

void SignOutOnServer(HttpClient leaving, const std::string& accPath, const std::string& nick)
{
    TransportLimits limits;
    limits.ConnectMs = 2000;
    limits.RequestMs = 3000;
    leaving.SetLimits(limits);
    ClubSignOut(leaving, accPath, nick);
}

} // namespace vk
