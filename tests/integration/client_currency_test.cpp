// Tevs: transfers through the client's requests, as the account window's
// transfer sends them (own balance, receiver's credit, own debit, own
// balance), with the server moving the money.
#include <gtest/gtest.h>

#include <future>

#include "client_fixture.h"

using namespace vk;
using namespace vk::test;

namespace {

class ClientCurrency : public ::testing::Test {
protected:
    ClientCurrency() : server({"initial_balance=25"}), club(server), db(server.DbPath()) {}

    long long Balance(const std::string& nick)
    {
        return db.Integer("SELECT balance FROM member WHERE nick = '" + nick + "'");
    }

    // The transfer as the window sends it; true when both steps succeed.
    bool Transfer(HttpClient& http, const std::string& from, const std::string& to, std::int32_t amount)
    {
        if (!ClubReadBalance(http, club.accPath, from))
            return false;
        if (!ClubAddBalance(http, club.accPath, to, amount))
            return false;
        const bool debited = ClubAddBalance(http, club.accPath, from, -amount);
        ClubReadBalance(http, club.accPath, from);
        return debited;
    }

    TestServer server;
    ClubSide club;
    Database db;
};

} // namespace

TEST_F(ClientCurrency, TransferMovesTheAmountOnce)
{
    HttpClient a, b;
    club.Join(a, Member("Alice"));
    club.Join(b, Member("Bob"));
    ASSERT_TRUE(Transfer(a, "Alice", "Bob", 10));
    EXPECT_EQ(ClubReadBalance(a, club.accPath, "Alice"), 15);
    EXPECT_EQ(ClubReadBalance(b, club.accPath, "Bob"), 35);

    // The debit was acknowledged once; a second one is refused and moves nothing.
    EXPECT_FALSE(ClubAddBalance(a, club.accPath, "Alice", -10));
    // A debit without a transfer before it, and a negative credit to another.
    EXPECT_FALSE(ClubAddBalance(b, club.accPath, "Bob", -5));
    EXPECT_FALSE(ClubAddBalance(a, club.accPath, "Bob", -5));
    EXPECT_EQ(Balance("Alice"), 15);
    EXPECT_EQ(Balance("Bob"), 35);
    db.ExpectMoneyInvariants();
}

TEST_F(ClientCurrency, UnknownReceiverOrOwnNickMovesNothing)
{
    HttpClient a, b;
    club.Join(a, Member("Alice"));
    club.Join(b, Member("Bob"));
    EXPECT_FALSE(ClubAddBalance(a, club.accPath, "Nobody", 10));
    EXPECT_FALSE(ClubAddBalance(a, club.accPath, "alice", 10)); // own nick in another letter case
    EXPECT_FALSE(ClubAddBalance(a, club.accPath, "Alice", 10));
    EXPECT_FALSE(ClubAddBalance(a, club.accPath, "Bob", 26)); // above the balance
    EXPECT_FALSE(ClubAddBalance(a, club.accPath, "Bob", 0));
    EXPECT_EQ(Balance("Alice"), 25);
    EXPECT_EQ(Balance("Bob"), 25);
    db.ExpectMoneyInvariants();
}

TEST_F(ClientCurrency, CreditAloneStillDebitsTheSender)
{
    HttpClient a, b;
    club.Join(a, Member("Alice"));
    club.Join(b, Member("Bob"));
    ASSERT_TRUE(ClubAddBalance(a, club.accPath, "Bob", 7)); // the client dies before its debit
    EXPECT_EQ(Balance("Alice"), 18);
    EXPECT_EQ(Balance("Bob"), 32);
    db.ExpectMoneyInvariants();
}

TEST_F(ClientCurrency, TwoClientsOfOneMemberCannotSpendTheBalanceTwice)
{
    HttpClient first, second, b;
    club.Join(first, Member("Alice"));
    club.LogIn(second, "Alice");
    club.Join(b, Member("Bob"));
    auto one = std::async(std::launch::async, [&] { return Transfer(first, "Alice", "Bob", 20); });
    auto two = std::async(std::launch::async, [&] { return Transfer(second, "Alice", "Bob", 20); });
    const int succeeded = int(one.get()) + int(two.get());
    EXPECT_EQ(succeeded, 1);
    EXPECT_EQ(Balance("Alice"), 5);
    EXPECT_EQ(Balance("Bob"), 45);
    EXPECT_EQ(Balance("Alice") + Balance("Bob"), 50);
    db.ExpectMoneyInvariants();
}
