#include "logic/club/account_fields.h"

#include "logic/club/form_encoding.h"
#include "logic/club/jpeg_frame.h"
#include "logic/looks/photo_crop.h"

namespace vk {
namespace {

// А..я are 0xC0..0xFF in the code page, Ё 0xA8 and ё 0xB8.
bool RussianLetter(unsigned char c) { return c >= 0xC0 || c == 0xA8 || c == 0xB8; }

bool LatinOrDigit(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool KnownSign(unsigned char c)
{
    for (const char sign : std::string_view("!(),-.?_@"))
        if (c == static_cast<unsigned char>(sign))
            return true;
    return false;
}

bool TooLongOrShort(std::size_t length, int kind)
{
    switch (kind) {
    case NickField: return length > 12;
    case CityField: return length > 15;
    case PasswordField: return length > 12 || length < 4;
    case EMailField: return length > 30;
    default: return false;
    }
}

const CardFieldInfo kCardFields[CardFieldCount] = {
    {"GAcName1", "EditName1", Msg::HintName1, 20, false, &TInfo14::Name1},
    {"GAcName2", "EditName2", Msg::HintName2, 20, false, &TInfo14::Name2},
    {"GAcAbout", "EditAbout", Msg::HintAbout, 50, false, &TInfo14::About},
    {"GAcTelephone", "EditTelephone", Msg::HintTelephone, 20, false, &TInfo14::Telephone},
    {"GAcEMail", "EditEMail", Msg::HintEMail, 50, false, &TInfo14::EMailO},
    {"GAcWebSite", "EditWebSite", Msg::HintWebSite, 50, true, &TInfo14::WebSite},
    {"GAcSkype", "EditSkype", Msg::HintSkype, 50, false, &TInfo14::Skype},
    {"GAcOK", "EditOK", Msg::HintOK, 50, true, &TInfo14::OK},
    {"GAcVK", "EditVK", Msg::HintVK, 50, true, &TInfo14::VK},
    {"GAcTelegram", "EditTelegram", Msg::HintTelegram, 50, false, &TInfo14::Telegram},
    {"GAcFaceBook", "EditFaceBook", Msg::HintFaceBook, 60, true, &TInfo14::FaceBook},
    {"GAcTwitter", "EditTwitter", Msg::HintTwitter, 50, true, &TInfo14::Twitter},
    {"GAcInstagramm", "EditInstagramm", Msg::HintInstagramm, 50, true, &TInfo14::Instagramm},
    {"GAcYouTube", "EditYouTube", Msg::HintYouTube, 50, true, &TInfo14::YouTube},
};

} // namespace

int CheckAccountField(std::string_view text, int kind)
{
    if (text.empty())
        return FieldRefused;
    if (TooLongOrShort(text.size(), kind) || (kind >= NickField && kind <= EMailField && text.size() == 1))
        return FieldRefused;
    int cls = FieldAccepted;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (RussianLetter(c))
            cls = FieldReserved;
        else if (!LatinOrDigit(c) && !KnownSign(c))
            return FieldRefused;
    }
    // Only a city may hold Russian letters.
    if (cls == FieldReserved && (kind == NickField || kind == PasswordField || kind == EMailField))
        return FieldRefused;
    if (kind == EMailField) {
        const std::size_t at = text.find('@');
        if (at == std::string_view::npos || at == 0 || at + 1 == text.size())
            return FieldRefused;
    }
    return cls;
}

std::optional<Msg> FieldRuleBroken(std::string_view text, int kind)
{
    const int cls = CheckAccountField(text, kind);
    if (cls == FieldAccepted || (cls == FieldReserved && kind == CityField))
        return std::nullopt;
    switch (kind) {
    case NickField:
        for (const char c : text)
            if (RussianLetter(static_cast<unsigned char>(c)))
                return Msg::RuleNickLatin;
        return Msg::RuleNick;
    case CityField: return Msg::RuleCity;
    case PasswordField: return Msg::RulePassword;
    default: return Msg::RuleEMail;
    }
}

Msg KeyRefusal(unsigned char character) { return RussianLetter(character) ? Msg::KeyNoRussian : Msg::KeyRefused; }

bool AccountKeyAccepted(unsigned char character, int kind)
{
    const char typed = static_cast<char>(character);
    const int cls = CheckAccountField(std::string_view(&typed, 1), TypedCharacter);
    if (kind == PasswordField || kind == EMailField)
        return cls == FieldAccepted;
    return cls != FieldRefused;
}

bool NickCharacter(unsigned char character) { return AccountKeyAccepted(character, PasswordField); }

bool RegistrationAllowed(const TTevUser& user)
{
    return CheckAccountField(user.Nick, NickField) > FieldRefused
           && CheckAccountField(user.City, CityField) > FieldRefused
           && CheckAccountField(user.Pw, PasswordField) == FieldAccepted
           && CheckAccountField(user.EMail, EMailField) == FieldAccepted;
}

bool LoginAllowed(const TTevUser& user)
{
    return CheckAccountField(user.Nick, NickField) > FieldRefused
           && CheckAccountField(user.Pw, PasswordField) == FieldAccepted;
}

BalanceFont BalanceFontFor(std::int64_t balance)
{
    std::int64_t limit = 9;
    BalanceFont font{48, 0};
    while (balance > limit && font.Height > 24) {
        font.Height -= 4;
        font.Drop += 2;
        limit = limit * 10 + 9;
    }
    return font;
}

bool TransferAllowed(int clubState, std::int32_t balance, std::int32_t amount, const std::string& receiver,
                     const std::string& ownNick)
{
    return !TransferBlocked(clubState, balance, amount, receiver, ownNick);
}

std::optional<Msg> TransferBlocked(int clubState, std::int32_t balance, std::int32_t amount,
                                   const std::string& receiver, const std::string& ownNick)
{
    if (clubState < 2)
        return Msg::TransferNeedsLogin;
    if (balance < 1)
        return Msg::NoTevs;
    if (amount < 1)
        return Msg::EmptyTransfer;
    if (receiver.empty())
        return Msg::TransferNeedsNick;
    if (receiver == ownNick)
        return Msg::TransferToSelf;
    return std::nullopt;
}

std::optional<Msg> TransferRefusal(std::int32_t balance, std::int32_t amount)
{
    if (amount < 1)
        return Msg::EmptyTransfer;
    if (balance < amount)
        return Msg::NotEnoughTevs;
    return std::nullopt;
}

TInfo14 SanitisedCard(TInfo14 card)
{
    for (int k = 0; k < CardFieldCount; ++k)
        for (char& c : card.*(kCardFields[k].Field))
            if (c == '$' || c == '~')
                c = ' ';
    return card;
}

const CardFieldInfo& CardField(int index) { return kCardFields[index]; }

RowAction CardRowAction(const CardFieldInfo& field, const std::string& text)
{
    if (text.find_first_not_of(' ') == std::string::npos)
        return RowAction::Nothing;
    return field.Link ? RowAction::Open : RowAction::Copy;
}

bool ClubPhotoAcceptable(std::string_view bytes)
{
    if (bytes.size() > PhotoFileCap)
        return false;
    const auto frame = ReadJpegFrame(bytes);
    return frame && frame->Width == PhotoWidth && frame->Height == PhotoHeight;
}

PhotoSource CheckPhotoSource(std::int64_t fileBytes, std::int64_t width, std::int64_t height)
{
    if (fileBytes > PhotoSourceByteCap || width > PhotoSourcePixelCap || height > PhotoSourcePixelCap
        || width * height > PhotoSourcePixelCap)
        return PhotoSource::TooLarge;
    const FrameAspect aspect = ReducedAspect(PhotoWidth, PhotoHeight);
    if (width < aspect.Width || height < aspect.Height)
        return PhotoSource::TooSmall;
    return PhotoSource::Fits;
}

std::string PhotoFileName(const std::string& nick) { return "Ava/" + PathSegmentEncode(nick) + ".jpg"; }

} // namespace vk
