#include "security/password_hash.h"

#include <sodium.h>

#include <cstdlib>

namespace saldora::security {
namespace {

void initialise() {
    static const bool ready = [] {
        if (sodium_init() < 0) std::abort();
        return true;
    }();
    (void)ready;
}

} // namespace

HashLimits HashLimits::interactive() {
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

HashLimits HashLimits::minimum() {
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

PasswordHasher::PasswordHasher(HashLimits limits) : limits_(limits) {
    initialise();
}

Result<std::string> PasswordHasher::hash(std::string_view password) const {
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), limits_.operations,
                              limits_.memory, crypto_pwhash_ALG_ARGON2ID13) != 0)
        return Error{1, "Sem memória para cifrar a senha."};
    return std::string(out);
}

bool PasswordHasher::verify(const std::string& stored, std::string_view password) const {
    if (stored.empty() || stored.size() >= crypto_pwhash_STRBYTES) return false;
    return crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
}

bool PasswordHasher::needsRehash(const std::string& stored) const {
    return crypto_pwhash_str_needs_rehash(stored.c_str(), limits_.operations, limits_.memory) != 0;
}

const std::string& PasswordHasher::dummyHash() const {
    if (dummy_.empty()) {
        unsigned char random[16];
        randombytes_buf(random, sizeof random);
        auto made = hash(std::string_view(reinterpret_cast<const char*>(random), sizeof random));
        sodium_memzero(random, sizeof random);
        if (made) dummy_ = *made;
    }
    return dummy_;
}

} // namespace saldora::security
