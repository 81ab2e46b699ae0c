#pragma once
// Where each role of the club server lives under its one base address, and
// the key its stored (enciphered) address is written with.  The build writes
// the built-in addresses from this table (tools/address_encoder); a club named
// at start is reached through the same paths.
#include <cstdint>
#include <string>

#include "common/text_cipher.h"

namespace vk {

struct ClubPath {
    const char* Name;    // the built-in address's name
    const char* Path;    // under the base address
    std::uint16_t Key;   // the cipher's start key of its stored form
    const char* Comment; // what the server answers there
};

inline constexpr ClubPath ClubWtt{"BuiltinServerPath", "/wtt", AddressStartKey, "world top ten and chat"};
inline constexpr ClubPath ClubStat{"BuiltinStatPath", "/stat", AddressStartKey, "statistics"};
inline constexpr ClubPath ClubConfig{"RemoteConfigAddress", "/config.txt", AddressStartKey,
                                     "remote configuration and advertisements"};
inline constexpr ClubPath ClubNews{"NewsAddress", "/news.txt", AddressStartKey, "news page"};
inline constexpr ClubPath ClubAccount{"BuiltinAccPath", "/club/account", ClubStartKey, "account requests"};
inline constexpr ClubPath ClubPhotoFolder{"PhotoFolderAddress", "/club/photos/", ClubStartKey,
                                          "photo folder: nick and \".jpg\" follow"};
inline constexpr ClubPath ClubPhotoUpload{"PhotoUploadAddress", "/club/photo-upload", ClubStartKey, "photo upload"};
inline constexpr ClubPath ClubHelpIndex{"HelpIndexAddress", "/help/index.html", AddressStartKey,
                                        "help on the web: contents"};
inline constexpr ClubPath ClubHelpRules{"HelpRulesAddress", "/help/rules.html", AddressStartKey,
                                        "help on the web: the rules"};

inline constexpr ClubPath ClubPaths[] = {ClubWtt,         ClubStat,        ClubConfig,    ClubNews,     ClubAccount,
                                         ClubPhotoFolder, ClubPhotoUpload, ClubHelpIndex, ClubHelpRules};

// The stored form of the address of Path at the club whose base address
// (scheme, host and port, no trailing "/") is Base.
inline std::string StoredClubAddress(const std::string& base, const ClubPath& path)
{
    return EncodeText(base + path.Path, path.Key);
}

} // namespace vk
