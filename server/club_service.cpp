#include "server/club_service.h"

#include <sodium.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/club_rules.h"
#include "common/countries.h"
#include "common/device_token.h"
#include "server/fields.h"
#include "server/jpeg_photo.h"
#include "server/published_texts.h"
#include "server/rating_rules.h"
#include "server/replies.h"
#include "server/storage/storage_rows.h"

namespace vks {
namespace {

constexpr std::int64_t kInt32Max = 2147483647;

Seconds Now() { return static_cast<Seconds>(std::time(nullptr)); }

std::string LocalDate(Seconds t, const char* format)
{
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    localtime_r(&tt, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, format, &tm);
    return buf;
}

Reply Text(std::string body, int status = 200) { return Reply{status, std::move(body)}; }
Reply Status(int status) { return Reply{status, ReplyNo}; }

bool DigitsAndDots(std::string_view text, std::size_t maxLen)
{
    if (text.size() > maxLen)
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// Reserved integers the client sends but the server never takes: a sign and
// up to 19 digits.
bool LooseInteger(std::string_view text)
{
    if (!text.empty() && text[0] == '-')
        text.remove_prefix(1);
    return !text.empty() && text.size() <= 19
           && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ChatStampOk(const std::string& text)
{
    if (text.empty() || text.size() > 40)
        return false;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!IsNickChar(c) && !IsCyrillic(c) && c != ':' && c != '/')
            return false;
    }
    return true;
}

} // namespace

ClubService::ClubService(ServerConfig config, Storage& storage)
    : config_(std::move(config)), storage_(storage),
      hasher_(config_.limits.argon2Ops, config_.limits.argon2MemKiB * 1024, Argon2Concurrency(config_.limits),
              Argon2Queue(config_.limits)),
      limiter_(static_cast<std::size_t>(config_.limits.rateLimitKeys)), wttPaused_(config_.wttPaused),
      chatPaused_(config_.chatPaused)
{
    // Unknown nicks are checked against this, so that a refusal takes as
    // long whether the nick exists or not.
    if (auto hash = hasher_.Hash(NewSessionToken()))
        dummyHash_ = std::move(*hash);
    for (const auto& g : config_.games) {
        gameKeys_.push_back(g.key);
        boards_[g.productGid] = BoardKind::Open;
        boards_[g.productGid + 100] = config_.secondBoardOpen ? BoardKind::Open : BoardKind::ReadOnly;
        boards_[g.clubGid] = BoardKind::Club;
        storage_.EnsureStatCounter(g.productGid);
    }
    boards_[ChatGid] = BoardKind::Chat;
    for (const auto& [gid, kind] : boards_)
        storage_.EnsureBoard(gid, kind);
    secret_ = storage_.ServerSecret();
    limiter_.KeepIn(storage_.SharedLimitEvents());
    SetPublicBase(config_.publicBase.empty() ? "http://" + config_.host + ":" + std::to_string(config_.port)
                                             : config_.publicBase);
}

void ClubService::SetPublicBase(std::string base)
{
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    publicBase_ = std::move(base);
    secureCookie_ = publicBase_.starts_with("https://");
    std::lock_guard lock(textMutex_);
    configText_ = RenderConfigText(config_, publicBase_);
    newsText_ = RenderNewsText(config_);
}

std::optional<std::string> ClubService::ReloadPublishedTexts(const ServerConfig& fresh)
{
    if (auto error = ValidateConfig(fresh))
        return error;
    std::lock_guard lock(textMutex_);
    configText_ = RenderConfigText(fresh, publicBase_);
    newsText_ = RenderNewsText(fresh);
    // The pause is the operator's lever against a flood: it closes the door,
    // not only the client's view of it.
    wttPaused_ = fresh.wttPaused;
    chatPaused_ = fresh.chatPaused;
    return std::nullopt;
}

Reply ClubService::ConfigText() const
{
    std::lock_guard lock(textMutex_);
    return Reply{200, configText_, Utf8Text};
}

Reply ClubService::NewsText() const
{
    std::lock_guard lock(textMutex_);
    return Reply{200, newsText_, Utf8Text};
}

void ClubService::Maintain()
{
    const Seconds now = Now();
    storage_.PurgeSessions(now, config_.limits.sessionIdleS);
    storage_.PurgeDevices(now - config_.limits.deviceLifetimeS);
}

// ---------------------------------------------------------------- authorisation

std::optional<SessionInfo> ClubService::SessionOf(const Caller& caller)
{
    if (!caller.session)
        return std::nullopt;
    return storage_.UseSession(TokenHash(*caller.session), Now(), config_.limits.sessionIdleS);
}

std::string ClubService::Source(const Caller& caller) { return SourceHash(secret_, caller.address); }

ClubService::AddressCheck ClubService::VerifyFor(const Caller& caller, const std::string& hash, const std::string& pw,
                                                 bool& rehash, bool priority)
{
    // A crowd of addresses each sending one guess after another gets one
    // Argon2 check at a time per address, so honest logins still find a
    // free one.
    {
        std::lock_guard lock(checkingMutex_);
        if (!checking_.insert(caller.address).second)
            return AddressCheck::SecondOfAddress;
    }
    const auto check = hasher_.Verify(hash, pw, rehash, priority);
    {
        std::lock_guard lock(checkingMutex_);
        checking_.erase(caller.address);
    }
    switch (check) {
    case PasswordHasher::Check::Match: return AddressCheck::Match;
    case PasswordHasher::Check::Mismatch: return AddressCheck::Mismatch;
    case PasswordHasher::Check::Busy: break;
    }
    return AddressCheck::Busy;
}

ClubService::Auth ClubService::CheckPassword(const std::string& nick, const std::string& pw, const Caller& caller,
                                             Authenticated& who, const std::string& device)
{
    const auto& l = config_.limits;
    const double window = static_cast<double>(l.loginFailureWindowS);
    const std::string failures = "fail:" + caller.address + "|" + nick;
    // Guesses spread over many addresses still meet the nick's own budget;
    // the member's own client, holding its session or the device token of
    // an earlier login, is never kept out by it.
    const std::string nickFailures = "nick:" + Fold(nick);
    // Every try counts toward the address's budget, a throttled one too:
    // keeping a nick's back-off alive costs the address its own logins.
    if (!limiter_.Take({{"pw:" + caller.address, l.passwordChecksPerMin, 60.0}}))
        return Auth::Throttled;
    if (limiter_.Count(failures, window) >= l.loginFailures)
        return Auth::Throttled;
    who.session = SessionOf(caller);
    auto found = storage_.FindMember(nick);
    if (found && found->disabled)
        found.reset();
    const Seconds now = Now();
    who.knownDevice =
        found && !device.empty() && storage_.UseDevice(TokenHash(device), found->id, now, now - l.deviceLifetimeS);
    const bool holdsSession = who.session && who.session->nick == nick;
    if (!holdsSession && !who.knownDevice && limiter_.BackingOff(nickFailures, l.nickFailures, window))
        return Auth::Throttled;
    auto refuse = [&] {
        limiter_.Add(failures, window);
        limiter_.Add(nickFailures, window);
        return Auth::Refused;
    };
    auto verify = [&](const std::string& hash, bool& rehash) -> std::optional<Auth> {
        switch (VerifyFor(caller, hash, pw, rehash, who.knownDevice)) {
        case AddressCheck::Match: return std::nullopt;
        case AddressCheck::Mismatch: return refuse();
        case AddressCheck::SecondOfAddress: return Auth::Throttled;
        case AddressCheck::Busy: break;
        }
        return Auth::Busy;
    };
    if (!found) {
        // The same road as a wrong password, at the same cost.
        bool rehash = false;
        if (dummyHash_.empty())
            return refuse();
        if (auto outcome = verify(dummyHash_, rehash))
            return *outcome;
        return refuse();
    }
    const bool ownSession = who.session && who.session->memberId == found->id;
    if (ownSession && !who.session->passwordCheck.empty()) {
        // The session already saw this member's password: no Argon2 again.
        if (!SamePasswordCheck(who.session->passwordCheck, PasswordCheck(*caller.session, pw)))
            return refuse();
    } else {
        bool rehash = false;
        if (auto outcome = verify(found->pwHash, rehash))
            return *outcome;
        if (rehash) {
            if (auto hash = hasher_.Hash(pw))
                storage_.UpdatePasswordHash(found->id, *hash);
        }
        if (ownSession)
            storage_.SetPasswordCheck(TokenHash(*caller.session), PasswordCheck(*caller.session, pw));
    }
    limiter_.Clear(failures);
    who.member = std::move(*found);
    return Auth::Ok;
}

std::optional<Reply> ClubService::Authenticate(const std::string& nick, const std::string& pw, const Caller& caller,
                                               Authenticated& who, Reply refusal, const std::string& device)
{
    switch (CheckPassword(nick, pw, caller, who, device)) {
    case Auth::Ok: return std::nullopt;
    case Auth::Refused: return refusal;
    case Auth::Throttled: return Reply{429, ReplyNo};
    case Auth::Busy: break;
    }
    return Reply{503, ReplyNo};
}

std::string ClubService::IssueSession(MemberId id, const std::string& pw)
{
    const std::string token = NewSessionToken();
    const Seconds now = Now();
    storage_.CreateSession(TokenHash(token), id, now, now + config_.limits.sessionLifetimeS, PasswordCheck(token, pw));
    std::string cookie = std::string(SessionCookie) + "=" + token
                         + "; Path=/; HttpOnly; Max-Age=" + std::to_string(config_.limits.sessionLifetimeS);
    if (secureCookie_)
        cookie += "; Secure";
    return cookie;
}

// The password requests heal a lapsed session: when the caller holds no live
// session of this member, a new one comes with the reply.
void ClubService::RenewSession(const Authenticated& who, const std::string& pw, Reply& reply)
{
    if (!who.session || who.session->memberId != who.member.id)
        reply.setCookie = IssueSession(who.member.id, pw);
}

// ---------------------------------------------------------------- /club/account

Reply ClubService::Account(const std::string& body, const Caller& caller)
{
    const auto outcome = ParseRequestBody(Endpoint::Account, body, gameKeys_);
    if (!outcome.request)
        return Status(outcome.failure == ParseFailure::UnknownGameKey ? 404 : 400);
    const ParsedRequest& r = *outcome.request;
    const auto& v = r.values;
    switch (r.kind) {
    case RequestKind::SaveInfo: return SaveInfo(r, caller);
    case RequestKind::Register: return Register(r, caller);
    case RequestKind::SaveGame: return SaveGame(r, caller);
    case RequestKind::LoginDate: return LoginDate(r, caller);
    case RequestKind::AddBalance: return AddBalance(r, caller);
    case RequestKind::ReadGame: return ReadGame(r, caller);
    case RequestKind::LoginDevice:
    case RequestKind::Login: return Login(r, caller);
    case RequestKind::SignOut: return SignOut(r, caller);
    case RequestKind::ReadBalance: return ReadBalance(r, caller);
    case RequestKind::ReadInfo: return ReadInfo(r, caller);
    case RequestKind::ReadTopTen: return Text(TopTenReply(storage_.ClubTopTen(r.gameKey)));
    case RequestKind::ReadPlace: {
        const auto rating = ParseReal(v[0]);
        if (!rating || *rating < 0 || *rating > 2147483648.0)
            return Text(ReplyNo);
        return Text(NumberReply(storage_.ClubPlace(r.gameKey, *rating)));
    }
    case RequestKind::MemberCount: return Text(NumberReply(storage_.CountMembers()));
    default: return Status(400);
    }
}

Reply ClubService::SaveInfo(const ParsedRequest& r, const Caller& caller)
{
    const auto& nick = r.values[0];
    if (!ValidMemberNick(nick))
        return Text(ReplyNo);
    Card card;
    for (int i = 0; i < 14; ++i) {
        const auto& value = r.values[static_cast<std::size_t>(i + 2)];
        if (!ValidCardField(i, value))
            return Text(ReplyNo);
        card[static_cast<std::size_t>(i)] = value;
    }
    const auto session = SessionOf(caller);
    if (!session || session->nick != nick)
        return Text(ReplyNo);
    storage_.SaveCard(session->memberId, card, Now());
    return Text(ReplyOk);
}

Reply ClubService::Register(const ParsedRequest& r, const Caller& caller)
{
    const auto& v = r.values;
    const std::string &nick = v[0], &pw = v[1], &city = v[2], &country1 = v[3], &country2 = v[4], &sex = v[5],
                      &email = v[6], &dater = v[7];
    const auto country = vk::CountryOfCode(country2);
    const bool valid = ValidNewMemberNick(nick) && ValidPassword(pw) && ValidCity(city) && country
                       && country->Key == country1 && ValidSex(sex) && ValidEmail(email) && DigitsAndDots(dater, 10)
                       && ValidReserved(v[8]) && ValidReserved(v[9]) && ValidReserved(v[10]) && LooseInteger(v[11])
                       && LooseInteger(v[12]) && LooseInteger(v[13]);
    if (!valid)
        return Text(ReplyNo);
    // The limit comes before the answer "taken", which would otherwise tell
    // any number of askers which nicks exist.
    if (!limiter_.Take({{"reg:" + caller.address, config_.limits.registrationsPerHour, 3600.0}}))
        return Status(429);
    if (storage_.NickTaken(nick))
        return Text(ReplyTaken);
    const auto hash = hasher_.Hash(pw);
    if (!hash)
        return Status(503);
    NewMember m;
    m.nick = nick;
    m.pwHash = *hash;
    m.city = city;
    m.countryKey = country1;
    m.countryCode = country2;
    m.sex = sex;
    m.email = email;
    const Seconds now = Now();
    m.dateReg = LocalDate(now, "%d.%m.%Y");
    // The balance the client sends (R04) is never taken.
    m.balance = config_.initialBalance;
    if (!storage_.RegisterMember(m, gameKeys_, now))
        return Text(ReplyTaken);
    return Text(ReplyOk);
}

Reply ClubService::SaveGame(const ParsedRequest& r, const Caller& caller)
{
    const auto& v = r.values;
    if (!ValidMemberNick(v[0]) || !ValidPassword(v[1]))
        return Text(ReplyNo);
    SentGame g;
    const auto kon = ParseInteger(v[2], 0, kInt32Max);
    const auto best = ParseInteger(v[3], 0, vk::MaxGameScore);
    const auto rating = ParseReal(v[4]);
    const auto ses = ParseInteger(v[5], 0, kInt32Max);
    const auto konl = ParseInteger(v[6], 0, 19);
    const auto score = ParseInteger(v[7], 0, vk::MaxGameScore);
    const auto r1 = ParseInteger(v[8], -kInt32Max - 1, kInt32Max);
    // Sessions never pass cycles begun, except in the repeat of a completion
    // whose reply was lost: the client applies the end once more.
    if (!kon || !best || !rating || *rating < 0 || *rating > 2147483648.0 || !ses || *ses > *kon + 1 || !konl || !score
        || (*konl == 0 && *score != 0) || !r1 || v[9].empty() || !ValidReserved(v[9]))
        return Text(ReplyNo);
    g.kon = *kon;
    g.best = *best;
    g.rating = *rating;
    g.ses = *ses;
    g.konl = *konl;
    g.score = *score;
    g.r1 = *r1;
    g.r2 = v[9];

    Authenticated who;
    if (auto refused = Authenticate(v[0], v[1], caller, who, Text(ReplyNo)))
        return *refused;
    const RatingLimits limits{config_.limits.minDealS, config_.limits.ratingStartsPerHour, config_.limits.resultWindowS,
                              config_.limits.ratingStartsPerDay};
    const auto decision = storage_.SaveGame(who.member.id, r.gameKey, Now(), [&](const GameSnapshot& snapshot) {
        return DecideGameSave(snapshot, g, Now(), limits);
    });
    Reply reply = Text(decision.transition == Transition::Refused ? ReplyNo : ReplyOk);
    RenewSession(who, v[1], reply);
    return reply;
}

Reply ClubService::LoginDate(const ParsedRequest& r, const Caller& caller)
{
    const auto& v = r.values;
    if (!ValidMemberNick(v[0]) || !ValidPassword(v[1]) || !ValidLoginStamp(v[2]) || !ValidClientTag(v[3]))
        return Text(ReplyNo);
    Authenticated who;
    if (auto refused = Authenticate(v[0], v[1], caller, who, Text(ReplyNo)))
        return *refused;
    storage_.RecordLogin(who.member.id, Now(), v[2], v[3]);
    Reply reply = Text(ReplyOk);
    RenewSession(who, v[1], reply);
    return reply;
}

Reply ClubService::AddBalance(const ParsedRequest& r, const Caller& caller)
{
    const auto& nick = r.values[0];
    const auto amount = ParseInteger(r.values[2], -kInt32Max - 1, kInt32Max);
    if (!ValidMemberNick(nick) || !amount || *amount == 0)
        return Text(ReplyNo);
    const auto session = SessionOf(caller);
    if (!session)
        return Text(ReplyNo);
    const Seconds now = Now();
    if (nick == session->nick) {
        // The client's own half of a transfer or its claim of a reward: the
        // server has moved the money already; acknowledge each once.
        const bool ok = *amount < 0 ? storage_.AcknowledgeDebit(TokenHash(*caller.session), -*amount, now)
                                    : storage_.AcknowledgeReward(session->memberId, *amount, now);
        return Text(ok ? ReplyOk : ReplyNo);
    }
    if (*amount < 1)
        return Text(ReplyNo);
    const auto receiver = storage_.FindMember(nick);
    if (!receiver || receiver->disabled || receiver->id == session->memberId)
        return Text(ReplyNo);
    const auto result = storage_.Transfer(TokenHash(*caller.session), session->memberId, receiver->id, *amount, now,
                                          now + config_.limits.owedDebitS);
    return Text(result == TransferResult::Done ? ReplyOk : ReplyNo);
}

Reply ClubService::ReadGame(const ParsedRequest& r, const Caller& caller)
{
    // "No record" reads as zeros to the client, so a refusal must be an error.
    const auto& v = r.values;
    if (!ValidMemberNick(v[0]) || !ValidPassword(v[1]))
        return Status(403);
    Authenticated who;
    if (auto refused = Authenticate(v[0], v[1], caller, who, Status(403)))
        return *refused;
    Reply reply = Text(GameReply(storage_.ReadGame(who.member.id, r.gameKey)));
    RenewSession(who, v[1], reply);
    return reply;
}

Reply ClubService::Login(const ParsedRequest& r, const Caller& caller)
{
    const auto& v = r.values;
    // A game that keeps a device token sends a fourth field: the token it
    // holds, or nothing to ask for one.
    const bool withDevice = r.kind == RequestKind::LoginDevice;
    const std::string device = withDevice ? v[3] : std::string();
    if (!ValidMemberNick(v[0]) || !ValidPassword(v[1]) || (withDevice && !device.empty() && !vk::IsDeviceToken(device)))
        return Text(ReplyNo);
    Authenticated who;
    if (auto refused = Authenticate(v[0], v[1], caller, who, Text(ReplyNo), device))
        return *refused;
    if (caller.session) // a new login replaces the caller's old session
        storage_.DeleteSession(TokenHash(*caller.session));
    Reply reply = Text(LoginReply(who.member));
    reply.setCookie = IssueSession(who.member.id, v[1]);
    if (withDevice) {
        std::string token = device;
        if (!who.knownDevice) {
            token = NewSessionToken();
            storage_.CreateDevice(TokenHash(token), who.member.id, Now());
        }
        reply.body += vk::DeviceTokenLine(token);
    }
    return reply;
}

// Sign-out: the session the caller holds ends, when it is this member's.
Reply ClubService::SignOut(const ParsedRequest& r, const Caller& caller)
{
    const auto session = SessionOf(caller);
    if (!session || session->nick != r.values[0])
        return Text(ReplyNo);
    storage_.DeleteSession(TokenHash(*caller.session));
    return Text(ReplyOk);
}

Reply ClubService::ReadBalance(const ParsedRequest& r, const Caller& caller)
{
    const auto session = SessionOf(caller);
    if (!session || session->nick != r.values[0])
        return Text(ReplyNo);
    return Text(BalanceReply(storage_.Balance(session->memberId)));
}

Reply ClubService::ReadInfo(const ParsedRequest& r, const Caller& caller)
{
    const auto& nick = r.values[0];
    if (!ValidMemberNick(nick))
        return Text(ReplyNo);
    const auto member = storage_.FindMember(nick);
    if (!member || member->disabled)
        return Text(ReplyNo);
    bool allowed = config_.cardsPublic;
    if (!allowed) {
        const auto session = SessionOf(caller);
        allowed = (session && session->memberId == member->id) || storage_.InAnyClubTopTen(member->id);
    }
    if (!allowed)
        return Text(ReplyNo);
    return Text(CardReply(storage_.ReadCard(member->id)));
}

// ---------------------------------------------------------------- /wtt

BoardKind ClubService::KindOfBoard(int gid, bool& known) const
{
    const auto it = boards_.find(gid);
    known = it != boards_.end();
    return known ? it->second : BoardKind::ReadOnly;
}

const GameConfig* ClubService::GameOfClubBoard(int gid) const
{
    for (const auto& g : config_.games)
        if (g.clubGid == gid)
            return &g;
    return nullptr;
}

bool ClubService::IsStatGid(int gid) const
{
    return std::any_of(config_.games.begin(), config_.games.end(),
                       [&](const GameConfig& g) { return g.productGid == gid; });
}

Reply ClubService::Wtt(const std::string& body, const Caller& caller)
{
    const auto outcome = ParseRequestBody(Endpoint::Wtt, body, {});
    if (!outcome.request)
        return Status(400);
    const ParsedRequest& r = *outcome.request;
    const auto gid = ParseInteger(r.values[0], 0, kInt32Max);
    bool known = false;
    if (gid)
        KindOfBoard(static_cast<int>(*gid), known);
    if (!known)
        return Status(404);
    const int board = static_cast<int>(*gid);
    switch (r.kind) {
    case RequestKind::WttSubmit: return WttSubmit(r, caller);
    case RequestKind::WttOwn: {
        const auto& nick = r.values[1];
        const auto& city = r.values[2];
        if (!IsNickText(nick, 1, 12, true) || !IsNickText(city, 1, 15, true))
            return Text("");
        return Text(BoardReply(board, storage_.OwnRows(board, nick, city, BoardRowsShown)));
    }
    case RequestKind::WttBoard:
        if (KindOfBoard(board, known) == BoardKind::Chat)
            return Text(BoardReply(board, storage_.Board(board, BoardRowsShown)));
        return Text(ClubBoardReply(board, known));
    case RequestKind::WttCount: return Text(NumberReply(storage_.AcceptedCount(board)));
    default: return Status(400);
    }
}

std::string ClubService::ClubBoardReply(int gid, bool known)
{
    const auto keep = std::chrono::milliseconds(config_.limits.boardCacheMs);
    if (!known || keep.count() <= 0)
        return BoardReply(gid, storage_.Board(gid, BoardRowsShown));
    const auto began = std::chrono::steady_clock::now();
    std::uint64_t writes = 0;
    {
        std::lock_guard lock(boardMutex_);
        KeptBoard& kept = boardCache_[gid];
        const auto age = began - kept.readAt;
        if (kept.held && age <= keep) {
            if (kept.refreshing || age <= keep * 3 / 4)
                return kept.reply;
            kept.refreshing = true;
        }
        writes = kept.writes;
    }
    // A read that fails leaves `refreshing` set: the copy then simply ages
    // out and the next readers read the board themselves.
    std::string reply = BoardReply(gid, storage_.Board(gid, BoardRowsShown));
    std::lock_guard lock(boardMutex_);
    KeptBoard& kept = boardCache_[gid];
    if (kept.writes == writes && (!kept.held || began >= kept.readAt)) {
        kept.reply = reply;
        kept.held = true;
        kept.readAt = began;
        kept.refreshing = false;
    }
    return reply;
}

void ClubService::ForgetBoard(int gid)
{
    std::lock_guard lock(boardMutex_);
    const auto it = boardCache_.find(gid);
    if (it == boardCache_.end())
        return;
    ++it->second.writes;
    it->second.held = false;
    it->second.refreshing = false;
}

Reply ClubService::WttSubmit(const ParsedRequest& r, const Caller& caller)
{
    const auto& v = r.values;
    const int gid = static_cast<int>(*ParseInteger(v[0], 0, kInt32Max));
    bool known = false;
    const BoardKind kind = KindOfBoard(gid, known);
    const std::string &nick = v[1], &city = v[2], &country = v[3], &r7 = v[5], &r8 = v[6];
    std::string r9 = v[7], r10 = v[8];
    // The client appends "*" to R10; it comes back as the row's terminator.
    if (!r10.ends_with('*'))
        return Text(ReplyNo);
    r10.pop_back();
    const auto& l = config_.limits;
    const Seconds now = Now();

    switch (kind) {
    case BoardKind::ReadOnly: return Text(ReplyNo);
    case BoardKind::Open: {
        const auto score = ParseInteger(v[4], vk::WorldTopTenMinScore, vk::MaxGameScore);
        if (wttPaused_ || PassportClass(nick, 1) != 3 || PassportClass(city, 2) == 1 || !vk::CountryOfCode(country)
            || !score || !ValidSex(r7) || !ValidVersion(r8) || r9 != "#" || r10 != "#")
            return Text(ReplyNo);
        if (!limiter_.Take(
                {{"board:" + std::to_string(gid) + ":" + caller.address, 1, static_cast<double>(l.boardIntervalS)}}))
            return Status(429);
        BoardEntry e{nick, country, city, r7, r8, r9, r10, *score, Source(caller)};
        const auto place = storage_.SubmitResult(gid, e, now);
        ForgetBoard(gid);
        return Text(NumberReply(place));
    }
    case BoardKind::Club: {
        const auto score = ParseInteger(v[4], vk::WorldTopTenMinScore, vk::MaxGameScore);
        const GameConfig* game = GameOfClubBoard(gid);
        if (wttPaused_ || !game || !ValidMemberNick(nick) || !score || !ValidVersion(r8) || r9 != "#" || r10 != "#")
            return Text(ReplyNo);
        const auto session = SessionOf(caller);
        if (!session || session->nick != nick)
            return Text(ReplyNo);
        const auto member = storage_.FindMember(nick);
        if (!member)
            return Text(ReplyNo);
        // The identity words come from the member's own record.
        BoardEntry e{member->nick, member->countryKey, member->city, member->sex, r8, "#", "#", *score, Source(caller)};
        const auto place =
            storage_.SubmitClubResult(member->id, game->key, gid, e, now, l.resultWindowS, l.boardSeasonS);
        ForgetBoard(gid);
        return Text(place ? NumberReply(*place) : ReplyNo);
    }
    case BoardKind::Chat: {
        // Blanks of a locale time ("2:05 PM") would shift every later word.
        std::replace(r9.begin(), r9.end(), ' ', '_');
        if (chatPaused_ || PassportClass(nick, 1) == 1 || PassportClass(city, 2) == 1 || !vk::CountryOfCode(country)
            || !ParseInteger(v[4], -kInt32Max - 1, kInt32Max) || !ValidSex(r7) || !ValidVersion(r8) || !ChatStampOk(r9)
            || !IsNickText(r10, 1, 80, true))
            return Text(ReplyNo);
        // A registered member's nick is that member's: posting under it needs
        // the member's session.  Other nicks stay open, as passports are.
        const auto session = SessionOf(caller);
        if (storage_.NickTaken(nick) && (!session || Fold(session->nick) != Fold(nick)))
            return Text(ReplyNo);
        // A member's posts count as the member's, so players behind one
        // address do not silence each other; anonymous posts count by address.
        const std::string sender = session ? "m" + std::to_string(session->memberId) : caller.address;
        if (!limiter_.Take({{"chat:" + sender, 1, static_cast<double>(l.chatIntervalS)},
                            {"chatday:" + sender, l.chatPerDay, 24 * 3600.0}}))
            return Status(429);
        BoardEntry e{nick, country, city, r7, r8, r9, r10, 0, Source(caller)};
        return Text(NumberReply(storage_.SubmitChat(gid, e, now, l.chatKeep)));
    }
    }
    return Text(ReplyNo);
}

// ---------------------------------------------------------------- /stat

Reply ClubService::Stat(const std::string& body, const Caller& caller)
{
    const auto outcome = ParseRequestBody(Endpoint::Stat, body, {});
    if (!outcome.request)
        return Status(400);
    const ParsedRequest& r = *outcome.request;
    const auto& v = r.values;
    const auto gid = ParseInteger(v[0], 0, kInt32Max);
    const bool known = gid && IsStatGid(static_cast<int>(*gid));
    const auto& l = config_.limits;

    if (r.kind == RequestKind::StatRead) {
        if (!known)
            return Status(404);
        const auto counters = storage_.ReadStats(static_cast<int>(*gid));
        const std::string day = counters.lastLikeAt ? LocalDate(*counters.lastLikeAt, "%Y-%m-%d") : "-";
        return Text(StatsReply(counters, day));
    }
    if (!known)
        return Text(ReplyStatNo);
    const int g = static_cast<int>(*gid);
    // Repeats are acknowledged without counting: a refusal would only make
    // the client send the same report again at its next start.
    switch (r.kind) {
    case RequestKind::StatDeal: {
        std::array<std::int64_t, 12> x{};
        const auto deals = ParseInteger(v[1], 0, 20);
        const auto games = ParseInteger(v[2], 0, 1);
        if (!deals || !games)
            return Text(ReplyStatNo);
        for (std::size_t i = 3; i <= 12; ++i)
            if (v[i] != "0")
                return Text(ReplyStatNo);
        x[0] = *deals;
        x[1] = *games;
        if (limiter_.Take({{"deal:" + caller.address, l.dealReportsPerHour, 3600.0}}))
            storage_.CountDeal(g, x);
        return Text(ReplyStatOk);
    }
    case RequestKind::StatLaunch:
        if (v[1] != "1" || (v[2] != "0" && v[2] != "1"))
            return Text(ReplyStatNo);
        if (limiter_.Take({{"launch:" + caller.address, l.launchReportsPerHour, 3600.0}}))
            storage_.CountLaunch(g, v[2] == "1");
        return Text(ReplyStatOk);
    case RequestKind::StatLike: {
        if (v[1] != "1" || PassportClass(v[2], 1) == 1)
            return Text(ReplyStatNo);
        const Seconds now = Now();
        storage_.CountLike(g, Source(caller), LocalDate(now, "%Y-%m-%d"), now);
        return Text(ReplyStatOk);
    }
    default: return Status(400);
    }
}

// ---------------------------------------------------------------- photos

Reply ClubService::PhotoUpload(const std::vector<std::pair<std::string, std::string>>& parts, const Caller& caller)
{
    const auto session = SessionOf(caller);
    if (!session)
        return Text(ReplyNo);
    // The part's file name is never used: the photo is the session member's.
    if (parts.size() != 1 || parts[0].first != "file")
        return Text(ReplyNo);
    const std::string& bytes = parts[0].second;
    if (bytes.empty() || bytes.size() > config_.limits.maxPhoto)
        return Text(ReplyNo);
    const auto photo = CleanPhoto(bytes);
    if (!photo)
        return Text(ReplyNo);

    storage_.SavePhoto(session->memberId, *photo, Sha256(*photo), Now());
    return Text(ReplyUploaded);
}

Reply ClubService::PhotoGet(const std::string& name)
{
    if (!name.ends_with(".jpg"))
        return Status(404);
    const std::string nick = name.substr(0, name.size() - 4);
    if (!ValidMemberNick(nick))
        return Status(404);
    const auto member = storage_.FindMember(nick);
    if (!member || member->disabled)
        return Status(404);
    auto bytes = storage_.ReadPhoto(member->id);
    if (!bytes)
        return Status(404);
    return Reply{200, std::move(*bytes), "image/jpeg"};
}

} // namespace vks
