#pragma once
// The exact reply bytes the client's readers take.  Every record starts the
// reply with "$" and is closed ("$" or "*"), every number is followed by a
// blank, and a refusal is the bare code: the readers drop the last byte of an
// unclosed record and look for result codes in the text before the first "$".
#include <cstdint>
#include <string>
#include <vector>

#include "server/storage/storage.h"

namespace vks {

inline constexpr const char* ReplyOk = "ok";
inline constexpr const char* ReplyNo = "no";
inline constexpr const char* ReplyTaken = "is";
inline constexpr const char* ReplyUploaded = "Ok";
inline constexpr const char* ReplyStatOk = "$ ok#";
inline constexpr const char* ReplyStatNo = "$ no#";

std::string LoginReply(const Member& member);    // $City Country1 Country2 Sex EMail DateR xxx xxx xxx R04 0 0$
std::string GameReply(const GameRecord& record); // $Kon Best Rating Sessions KonL Score R1 R2$
std::string TopTenReply(const std::vector<TopTenRow>& rows); // $Place Nick City Key Code Sex Rating* ...
std::string NumberReply(std::int64_t n);                     // $n<blank>
std::string BalanceReply(std::int64_t balance);              // $n$
std::string CardReply(const Card& card);                     // $f1~...~f14$
std::string BoardReply(int gid,
                       const std::vector<BoardRow>& rows); // $Place GID Score Nick Country City R07 R08 R09 R10* ...
std::string StatsReply(const StatCounters& s, const std::string& lastLikeDay); // $S1 S2 S3 S4 X1..X12 Y Z*

} // namespace vks
