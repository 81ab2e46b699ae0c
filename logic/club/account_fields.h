#pragma once
// The rules of the account window and the member card, apart from their
// widgets: which texts a field accepts, which typed characters pass, when a
// transfer may go, how the balance is sized, which photos are taken and
// what a card row does when it is clicked.  Texts are Windows-1251 bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "logic/club/records.h"
#include "common/club_rules.h"
#include "common/messages.h"

namespace vk {

// What a field holds, for CheckAccountField.  A single typed character is
// kind 0.
enum AccountFieldKind : int { TypedCharacter = 0, NickField = 1, CityField = 2, PasswordField = 3, EMailField = 4 };

// Field classes: refused (red lamp), accepted with reservation (yellow: a
// city in Russian letters), accepted (green).
enum AccountFieldClass : int { FieldRefused = 1, FieldReserved = 2, FieldAccepted = 3 };

int CheckAccountField(std::string_view text, int kind);

// Whether a typed character may go into the field: the nick and the city
// take every character the club knows (a nick in Russian letters can be
// typed but stays red), the password and the e-mail no Russian letters.
bool AccountKeyAccepted(unsigned char character, int kind);

// The rule a field's text breaks, to show beside it (nothing: accepted).
std::optional<Msg> FieldRuleBroken(std::string_view text, int kind);
// Why a typed character was refused by AccountKeyAccepted.
Msg KeyRefusal(unsigned char character);

// The characters a nick may hold (the receiver box of a transfer).
bool NickCharacter(unsigned char character);

// The lamps' rule for "Create an account" and "Login to account" while
// logged out.
bool RegistrationAllowed(const TTevUser& user);
bool LoginAllowed(const TTevUser& user);

// The balance's font height and its drop below the top line, by its size.
struct BalanceFont {
    int Height;
    int Drop;
};
BalanceFont BalanceFontFor(std::int64_t balance);

// The transfer button may be pressed: logged in, something to send, an
// amount and a receiver other than oneself.
bool TransferAllowed(int clubState, std::int32_t balance, std::int32_t amount, const std::string& receiver,
                     const std::string& ownNick);
// Why the transfer button is grey (nothing: it may be pressed).  An amount
// above the balance does not grey it: pressing it says so.
std::optional<Msg> TransferBlocked(int clubState, std::int32_t balance, std::int32_t amount,
                                   const std::string& receiver, const std::string& ownNick);
// Why a transfer is refused before anything is sent (nothing: it may go).
std::optional<Msg> TransferRefusal(std::int32_t balance, std::int32_t amount);

// A card as it is sent: "$" and "~" separate records and fields in the
// server's answers, so each becomes a blank.
TInfo14 SanitisedCard(TInfo14 card);

// The fourteen fields of a card in the order the card window and the
// "About me" tab show them.
struct CardFieldInfo {
    const char* Icon;       // the 32 x 32 picture
    const char* ObjectName; // the card window's edit
    Msg Hint;
    int MaxLength;
    bool Link; // an address that is opened rather than copied
    std::string TInfo14::*Field;
};
inline constexpr int CardFieldCount = 14;
const CardFieldInfo& CardField(int index); // 0 .. 13

// What a click on a card row does with its text.
enum class RowAction { Nothing, Copy, Open };
RowAction CardRowAction(const CardFieldInfo& field, const std::string& text);

// The photos of the club (common/club_rules.h: PhotoWidth, PhotoHeight,
// PhotoFileCap).
bool ClubPhotoAcceptable(std::string_view bytes);

// A picture the player picks to cut a photo from: a JPEG or PNG of at most
// PhotoSourceByteCap bytes and PhotoSourcePixelCap pixels (a 50-megapixel
// phone photo fits), large enough to hold one frame of the photo's
// proportions.
inline constexpr std::int64_t PhotoSourceByteCap = 64LL << 20;
inline constexpr std::int64_t PhotoSourcePixelCap = 64'000'000;
enum class PhotoSource { Fits, TooLarge, TooSmall };
PhotoSource CheckPhotoSource(std::int64_t fileBytes, std::int64_t width, std::int64_t height);
// The JPEG qualities a cut photo is encoded at, the highest first, until
// it fits in PhotoFileCap.
inline constexpr int PhotoQualityHighest = 90;
inline constexpr int PhotoQualityStep = 5;
inline constexpr int PhotoQualityLowest = 20;
// "Ava/" and the nick made safe as a file name, with ".jpg".
std::string PhotoFileName(const std::string& nick);

} // namespace vk
