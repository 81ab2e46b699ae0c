#include "server/passwords.h"

#include <sodium.h>

#include <algorithm>

namespace vks {

PasswordHasher::PasswordHasher(unsigned long long opsLimit, std::size_t memLimitBytes, int concurrency, int queue)
    : ops_(opsLimit), mem_(memLimitBytes), concurrency_(concurrency), queue_(queue)
{
}

bool PasswordHasher::Enter(bool priority)
{
    std::unique_lock lock(mutex_);
    if (priority) {
        if (running_ >= concurrency_) {
            ++priorityWaiting_;
            cv_.wait(lock, [&] { return running_ < concurrency_; });
            --priorityWaiting_;
        }
    } else if (running_ >= concurrency_ || priorityWaiting_ > 0) {
        if (waiting_ >= queue_)
            return false;
        ++waiting_;
        cv_.wait(lock, [&] { return running_ < concurrency_ && priorityWaiting_ == 0; });
        --waiting_;
    }
    ++running_;
    return true;
}

void PasswordHasher::Leave()
{
    {
        std::lock_guard lock(mutex_);
        --running_;
    }
    // Waiting priority checks and ordinary ones wait on the same condition:
    // wake all, and the rule above lets the right one through.
    cv_.notify_all();
}

PasswordHasher::Check PasswordHasher::Verify(const std::string& hash, const std::string& password, bool& needsRehash,
                                             bool priority)
{
    needsRehash = false;
    if (!Enter(priority))
        return Check::Busy;
    const bool ok = crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
    Leave();
    if (ok)
        needsRehash = crypto_pwhash_str_needs_rehash(hash.c_str(), ops_, mem_) != 0;
    return ok ? Check::Match : Check::Mismatch;
}

std::optional<std::string> PasswordHasher::Hash(const std::string& password)
{
    if (!Enter())
        return std::nullopt;
    char out[crypto_pwhash_STRBYTES];
    const int rc =
        crypto_pwhash_str_alg(out, password.data(), password.size(), ops_, mem_, crypto_pwhash_ALG_ARGON2ID13);
    Leave();
    if (rc != 0)
        return std::nullopt;
    return std::string(out);
}

std::string NewSessionToken()
{
    unsigned char raw[32];
    randombytes_buf(raw, sizeof raw);
    char out[sodium_base64_ENCODED_LEN(32, sodium_base64_VARIANT_URLSAFE_NO_PADDING)];
    sodium_bin2base64(out, sizeof out, raw, sizeof raw, sodium_base64_VARIANT_URLSAFE_NO_PADDING);
    return out;
}

std::string TokenHash(const std::string& token)
{
    std::string out(crypto_generichash_BYTES, '\0');
    crypto_generichash(reinterpret_cast<unsigned char*>(out.data()), out.size(),
                       reinterpret_cast<const unsigned char*>(token.data()), token.size(), nullptr, 0);
    return out;
}

std::string PasswordCheck(const std::string& token, const std::string& password)
{
    std::string out(crypto_generichash_BYTES, '\0');
    crypto_generichash(reinterpret_cast<unsigned char*>(out.data()), out.size(),
                       reinterpret_cast<const unsigned char*>(password.data()), password.size(),
                       reinterpret_cast<const unsigned char*>(token.data()),
                       std::min<std::size_t>(token.size(), crypto_generichash_KEYBYTES_MAX));
    return out;
}

bool SamePasswordCheck(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && !a.empty() && sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

std::string SourceHash(const std::string& secret, const std::string& address)
{
    unsigned char raw[16];
    crypto_generichash(raw, sizeof raw, reinterpret_cast<const unsigned char*>(address.data()), address.size(),
                       reinterpret_cast<const unsigned char*>(secret.data()), secret.size());
    char hex[2 * sizeof raw + 1];
    sodium_bin2hex(hex, sizeof hex, raw, sizeof raw);
    return hex;
}

std::string Sha256(const std::string& bytes)
{
    std::string out(crypto_hash_sha256_BYTES, '\0');
    crypto_hash_sha256(reinterpret_cast<unsigned char*>(out.data()),
                       reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return out;
}

} // namespace vks
