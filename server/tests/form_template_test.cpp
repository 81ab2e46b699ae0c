#include <gtest/gtest.h>

#include "server/form_template.h"

using namespace vks;

namespace {

struct Case {
    const char* what;
    Endpoint endpoint;
    std::string body;
    std::optional<RequestKind> kind;      // nothing: no template
    std::vector<std::string> values = {}; // checked when not empty
    ParseFailure failure = ParseFailure::NoTemplate;
};

const std::vector<std::string> kKeys = {"zarvo"};

std::string Card(const std::string& about)
{
    return "nick=Nomad&labelinfosave=0&namei=Ivan&name2=&about=" + about
           + "&telephone=&emailo=&website=&skype=&ok=&vk=&telegram=&facebook=&twitter=&instagramm=&youtube=";
}

} // namespace

TEST(FormTemplate, BodiesAgainstTheirTemplates)
{
    using K = RequestKind;
    const std::vector<Case> cases = {
        // Raw values are literal bytes: "&", "=", "+", "%" survive.
        {"card free text",
         Endpoint::Account,
         Card("Tom & Jerry = 1+1 %41"),
         K::SaveInfo,
         {"Nomad", "0", "Ivan", "", "Tom & Jerry = 1+1 %41", "", "", "", "", "", "", "", "", "", "", ""}},
        {"card holding an anchor", Endpoint::Account, Card("x&nick=bob"), std::nullopt},
        {"card holding another field's anchor", Endpoint::Account, Card("x&telephone=1"), std::nullopt},
        {"register",
         Endpoint::Account,
         "nick=Nomad&pw=secret12&city=\xD2\xF3\xEB\xE0&country1=Russia&country2=1-001&sex=M&email=n@x.org&dater=10.12."
         "2024"
         "&R01=xxx&R02=xxx&R03=xxx&R04=1000000&R05=0&R06=0",
         K::Register,
         {"Nomad", "secret12", "\xD2\xF3\xEB\xE0", "Russia", "1-001", "M", "n@x.org", "10.12.2024", "xxx", "xxx", "xxx",
          "1000000", "0", "0"}},
        {"save game with the key",
         Endpoint::Account,
         "nick=Nomad&pw=secret12&zarvokon=1&zarvobest=0&zarvorating=1&zarvoses=0&zarvokonl=0&zarvoscore=0&zarvoR1=0&"
         "zarvoR2=#",
         K::SaveGame,
         {"Nomad", "secret12", "1", "0", "1", "0", "0", "0", "0", "#"}},
        {"login date",
         Endpoint::Account,
         "nick=Nomad&pw=secret12&ldate=202412101405&lfrom=Vokabron_4.3",
         K::LoginDate,
         {}},
        {"add balance", Endpoint::Account, "nick=bob&labeltevsave=0&R04=-10", K::AddBalance, {"bob", "0", "-10"}},
        {"injected amount", Endpoint::Account, "nick=bob&R04=9&labeltevsave=0&R04=5", std::nullopt},
        {"a field twice", Endpoint::Account, "nick=bob&labeltevsave=0&R04=5&R04=6", std::nullopt},
        {"missing field", Endpoint::Account, "nick=bob&R04=5", std::nullopt},
        {"fields out of order", Endpoint::Account, "labeltevsave=0&nick=bob&R04=5", std::nullopt},
        {"marker not 0", Endpoint::Account, "nick=bob&labeltevread=1", std::nullopt},
        {"read game", Endpoint::Account, "nick=Nomad&pw=secret12&zarvobest=0", K::ReadGame, {"Nomad", "secret12", "0"}},
        {"login, encoded",
         Endpoint::Account,
         "nick=No+mad%21&pw=a%D0%81b&label0=0",
         K::Login,
         {"No mad!",
          "a\xA8"
          "b",
          "0"}},
        {"extra encoded field", Endpoint::Account, "nick=a&pw=b&label0=0&x=1", std::nullopt},
        {"bad escape", Endpoint::Account, "nick=%zz&labeltevread=0", std::nullopt},
        {"lone percent", Endpoint::Account, "nick=ab%&labeltevread=0", std::nullopt},
        {"bad UTF-8", Endpoint::Account, "nick=%C3%28&labeltevread=0", std::nullopt},
        {"no code page form", Endpoint::Account, "nick=%C3%A9&labeltevread=0", std::nullopt},
        {"overlong letter", Endpoint::Account, "nick=Al%C1%A9ce&labeltevread=0", std::nullopt},
        {"overlong slash", Endpoint::Account, "nick=a%E0%80%AFb&labeltevread=0", std::nullopt},
        {"surrogate", Endpoint::Account, "nick=a%ED%A0%80b&labeltevread=0", std::nullopt},
        {"euro sign has one", Endpoint::Account, "nick=%E2%82%AC&labeltevread=0", K::ReadBalance, {"\x88", "0"}},
        {"read info", Endpoint::Account, "nick=Nomad&labelinforead=0", K::ReadInfo, {"Nomad", "0"}},
        {"top ten", Endpoint::Account, "zarvokon=0", K::ReadTopTen, {"0"}},
        {"top ten of another game", Endpoint::Account, "quizkon=0", std::nullopt, {}, ParseFailure::UnknownGameKey},
        {"place", Endpoint::Account, "zarvorating=951", K::ReadPlace, {"951"}},
        {"member count", Endpoint::Account, "label1=0", K::MemberCount, {"0"}},
        {"raw plus and escape stay", Endpoint::Account, "zarvorating=+5%41", K::ReadPlace, {"+5%41"}},
        {"unassigned byte", Endpoint::Account, "nick=b\x98&labeltevsave=0&R04=5", std::nullopt},
        {"control byte", Endpoint::Account, std::string("nick=b\0b&labeltevsave=0&R04=5", 29), std::nullopt},
        {"empty body", Endpoint::Account, "", std::nullopt},
        // World top ten and chat.
        {"submit",
         Endpoint::Wtt,
         "gid=50&nick=Nomad&city=Tula&country=1-001&score=950&R7=M&R8=4.3&R9=#&R10=#*",
         K::WttSubmit,
         {"50", "Nomad", "Tula", "1-001", "950", "M", "4.3", "#", "#*"}},
        {"own rows", Endpoint::Wtt, "gid=50&nick=Nomad&city=Tula", K::WttOwn, {"50", "Nomad", "Tula"}},
        {"board", Endpoint::Wtt, "gid=100", K::WttBoard, {"100"}},
        {"count", Endpoint::Wtt, "rgid=50", K::WttCount, {"50"}},
        // Statistics.
        {"deal report",
         Endpoint::Stat,
         "gid=50&R1=1&R2=0&R3=0&R4=0&R5=0&R6=0&R7=0&R8=0&R9=0&R10=0&R11=0&R12=0",
         K::StatDeal,
         {}},
        {"launch", Endpoint::Stat, "gid=50&stat1=1&stat2=1", K::StatLaunch, {"50", "1", "1"}},
        {"like", Endpoint::Stat, "gid=50&stat3=1&stat4=Nomad", K::StatLike, {"50", "1", "Nomad"}},
        {"read", Endpoint::Stat, "gid=50", K::StatRead, {"50"}},
    };
    for (const auto& c : cases) {
        const auto out = ParseRequestBody(c.endpoint, c.body, kKeys);
        ASSERT_EQ(out.request.has_value(), c.kind.has_value()) << c.what;
        if (!c.kind) {
            EXPECT_EQ(out.failure, c.failure) << c.what;
            continue;
        }
        EXPECT_EQ(out.request->kind, *c.kind) << c.what;
        if (!c.values.empty()) {
            EXPECT_EQ(out.request->values, c.values) << c.what;
        }
    }
}
