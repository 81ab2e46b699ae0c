#include <gtest/gtest.h>

#include "logic/localdata/club_file.h"
#include "logic/game/scoring.h"

using namespace vk;

TEST(DealCount, TheLastDeal)
{
    // Whatever a stored line held, a resumed game's next deal is at most the
    // 20th, and that one completes the game.
    EXPECT_TRUE(GameCompleteAfter(MemberDeals(MakeMemberLine("x", 1, 999, "")) + 1));
    EXPECT_FALSE(GameCompleteAfter(19));
    EXPECT_TRUE(GameCompleteAfter(20));
    EXPECT_TRUE(GameCompleteAfter(21));
    EXPECT_TRUE(NextDealOffered(19));
    EXPECT_FALSE(NextDealOffered(20));
}
