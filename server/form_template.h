#pragma once
// Reading a form body against the template of its request kind.
//
// The client sends two body forms under the same content type: raw bodies
// (values placed unaltered, so free text may hold "&", "=", "+" and "%") and
// encoded bodies (%-escapes of UTF-8).  A generic form parser would turn "+"
// into a blank, split a card text at its "&" and let a typed value inject
// fields.  Instead each kind has a fixed list of field names in the client's
// order; the value of a field runs from its "name=" to the anchor "&next=",
// and every anchor must occur exactly once, in order.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vks {

enum class BodyForm { Raw, Encoded };

enum class RequestKind {
    // /club/account, in matching order (longest template first)
    SaveInfo,
    Register,
    SaveGame,
    LoginDate,
    AddBalance,
    ReadGame,
    LoginDevice,
    Login,
    ReadBalance,
    ReadInfo,
    SignOut,
    ReadTopTen,
    ReadPlace,
    MemberCount,
    // /wtt
    WttSubmit,
    WttOwn,
    WttBoard,
    WttCount,
    // /stat
    StatDeal,
    StatLaunch,
    StatLike,
    StatRead,
};

struct FormField {
    std::string_view name; // "{K}" at the start stands for the game key
    bool marker = false;   // the value must be exactly "0"
};

struct RequestTemplate {
    RequestKind kind;
    BodyForm form;
    std::vector<FormField> fields;
};

enum class Endpoint { Account, Wtt, Stat };

// The templates of one path, in matching order.
const std::vector<RequestTemplate>& TemplatesOf(Endpoint endpoint);

// Values of one template, decoded to Windows-1251 bytes; nothing when the
// body does not satisfy the template.
std::optional<std::vector<std::string>> MatchTemplate(std::string_view body, BodyForm form,
                                                      std::span<const FormField> fields, std::string_view gameKey);

struct ParsedRequest {
    RequestKind kind;
    std::string gameKey;             // empty for kinds without a key
    std::vector<std::string> values; // in template order
};

enum class ParseFailure { NoTemplate, UnknownGameKey };

struct ParseOutcome {
    std::optional<ParsedRequest> request;
    ParseFailure failure = ParseFailure::NoTemplate;
};

// The first template (in matching order) that the body satisfies decides the
// kind.  A body that would satisfy a keyed template with a key the server
// does not serve is reported as such.
ParseOutcome ParseRequestBody(Endpoint endpoint, std::string_view body, std::span<const std::string> gameKeys);

// %-decoding of one encoded value ("+" is a blank); nothing on a bad escape,
// invalid UTF-8 or a character Windows-1251 lacks.
std::optional<std::string> DecodeEncodedValue(std::string_view value);

} // namespace vks
