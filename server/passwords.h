#pragma once
// Password hashes (Argon2id) and session tokens.  Hashing is deliberately
// slow and memory-hungry, so only a bounded number run at once; a check that
// would have to queue behind too many others is turned away at once instead
// of holding a request thread that reads need.
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

namespace vks {

class PasswordHasher {
public:
    PasswordHasher(unsigned long long opsLimit, std::size_t memLimitBytes, int concurrency, int queue);

    enum class Check { Match, Mismatch, Busy };
    // needsRehash is set on a match whose hash was made with other parameters.
    // A priority check (a login from a computer the member is known on)
    // waits even when the queue is full and goes before every other waiting
    // check.
    Check Verify(const std::string& hash, const std::string& password, bool& needsRehash, bool priority = false);
    // Nothing when too busy.
    std::optional<std::string> Hash(const std::string& password);

private:
    bool Enter(bool priority = false);
    void Leave();

    unsigned long long ops_;
    std::size_t mem_;
    int concurrency_;
    int queue_;
    int running_ = 0;
    int waiting_ = 0;
    int priorityWaiting_ = 0;
    std::mutex mutex_;
    std::condition_variable cv_;
};

// 32 random bytes, base64url without padding (43 characters).
std::string NewSessionToken();
// What the database keeps of a token.
std::string TokenHash(const std::string& token);
// A password, hashed with the session's token as the key: the session's
// later password requests are checked against it without Argon2.  Without
// the token (which only the client holds) it says nothing about the password.
std::string PasswordCheck(const std::string& token, const std::string& password);
bool SamePasswordCheck(const std::string& a, const std::string& b);
// Keyed hash of a client address, hex; for rate limits and likes.
std::string SourceHash(const std::string& secret, const std::string& address);
std::string Sha256(const std::string& bytes);

} // namespace vks
