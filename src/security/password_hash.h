#pragma once
// Passwords are kept only as Argon2id hash strings (the self-describing "$argon2id$..." form,
// with its own salt and limits), never as text.
#include "data/result.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace saldora::security {

struct HashLimits {
    unsigned long long operations = 0;
    size_t memory = 0;

    // What the program uses: a login costs a noticeable fraction of a second.
    static HashLimits interactive();
    // The least the algorithm allows, for tests.
    static HashLimits minimum();
};

class PasswordHasher {
  public:
    explicit PasswordHasher(HashLimits limits);

    const HashLimits& limits() const { return limits_; }
    Result<std::string> hash(std::string_view password) const;
    bool verify(const std::string& stored, std::string_view password) const;
    // A hash made with other limits (an older installation, a test) is renewed at the next login.
    bool needsRehash(const std::string& stored) const;
    // The hash of a random password, made on first use: a login that does not exist is verified
    // against it, so that the time a refusal takes does not tell whether the login exists. Every
    // login asks for it first, so that the one-time cost of making it falls on either kind.
    const std::string& dummyHash() const;

  private:
    HashLimits limits_;
    mutable std::string dummy_;
};

} // namespace saldora::security
