#pragma once
// A new club member as the tests register one: password "secret12", a
// city and country that every reader takes.
#include <string>

#include "logic/club/records.h"

namespace vk::test {

inline TTevUser Member(const std::string& nick, const std::string& city = "Tula",
                       const std::string& country1 = "Russia", const std::string& country2 = "1-001",
                       const std::string& email = "member@example.org")
{
    TTevUser user;
    user.Nick = nick;
    user.Pw = "secret12";
    user.City = city;
    user.Country1 = country1;
    user.Country2 = country2;
    user.Sex = 'M';
    user.EMail = email;
    user.DateR = "10.12.2024";
    user.R01 = user.R02 = user.R03 = "xxx";
    return user;
}

} // namespace vk::test
