#pragma once
// The account requests to the club server.  Each is one synchronous call
// with plain arguments and a plain result; none shows anything, the caller
// tells the player.  `accPath` is the stored account address, decoded before
// every request so that a remote refresh takes effect at once.
#include <cstdint>
#include <optional>
#include <string>

#include "logic/club/form_encoding.h"
#include "net/http_client.h"
#include "logic/club/records.h"

namespace vk {

inline constexpr const char* ClubUserAgent = "TevSpecAccess";
// The login report's origin: product name, "_", version.
inline constexpr const char* LoginOrigin = "Vokabron_4.3";

// The form requests through the shared client (user agent set first);
// `answered` as HttpClient::PostForm gives it.
std::optional<std::string> RawFormRequest(HttpClient& http, const std::string& address, const std::string& body,
                                          bool* answered = nullptr);
std::optional<std::string> EncodedFormRequest(HttpClient& http, const std::string& address, const FormFields& fields,
                                              bool* answered = nullptr);

// How the last account request made on this thread ended, told apart for
// the player: the club took it, refused it (an answer without "ok"), failed
// on its side (an error status), or could not be reached at all (no server,
// or one that never answers).  `taken`: what the request's own result said.
enum class ClubAnswer { Taken, Refused, ServerFault, Unreachable };
ClubAnswer LastClubAnswer(bool taken);

// 0 created, 1 nick taken, 2 failed.
int ClubRegister(HttpClient& http, const std::string& accPath, const TTevUser& user);
// `user` receives the login record (placeholders where the reply gives none).
// With deviceToken the login shows the token this computer holds (empty: it
// asks for one) and, when it succeeds, takes the token the club gives back.
bool ClubLogin(HttpClient& http, const std::string& accPath, const std::string& nick, const std::string& pw,
               TTevUser& user, std::string* deviceToken = nullptr);
// Ends the session this client holds for nick on the server.
bool ClubSignOut(HttpClient& http, const std::string& accPath, const std::string& nick);
bool ClubLoginDate(HttpClient& http, const std::string& accPath, const std::string& nick, const std::string& pw,
                   const std::string& origin);
// `rows` are cleared first and stay cleared on a transport failure.
bool ClubReadTopTen(HttpClient& http, const std::string& accPath, const std::string& key, ClubTopTenRows& rows);
// -1 on failure.
std::int32_t ClubReadPlace(HttpClient& http, const std::string& accPath, const std::string& key, double rating);
std::int32_t ClubReadMemberCount(HttpClient& http, const std::string& accPath);
std::optional<std::int32_t> ClubReadBalance(HttpClient& http, const std::string& accPath, const std::string& nick);
bool ClubAddBalance(HttpClient& http, const std::string& accPath, const std::string& nick, std::int32_t amount);
// The card passed in is the result; a failure leaves it as it is.  True
// when the server gave a card.
bool ClubReadInfo(HttpClient& http, const std::string& accPath, const std::string& nick, TInfo14& card);
// The card's "$" and "~" have been replaced by blanks by the caller.
bool ClubSaveInfo(HttpClient& http, const std::string& accPath, const std::string& nick, const TInfo14& card);
// `game` is prepared (counters cleared) and then filled from the reply.
bool ClubReadGame(HttpClient& http, const std::string& accPath, const std::string& nick, const std::string& pw,
                  const std::string& key, TTevGame& game);
bool ClubSaveGame(HttpClient& http, const std::string& accPath, const std::string& nick, const std::string& pw,
                  const std::string& key, const TTevGame& game);

// GET with a client of its own of the photo folder's "<nick>.jpg" (the nick
// percent-encoded).  On success `picture` receives the JPEG bytes; otherwise
// it keeps what it held.
bool ClubLoadPhoto(const std::string& photoFolderPath, const std::string& nick, std::string& picture);
// Multipart POST of the photo file (the card window's "Ava/<nick>.jpg") as
// the part "file", sent under its own file name.
bool ClubUploadPhoto(HttpClient& http, const std::string& photoUploadPath, const std::string& filePath);

} // namespace vk
