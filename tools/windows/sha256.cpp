#include "tools/sha256.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <climits>
#include <cstdio>

std::string Sha256Hex(const std::uint8_t* bytes, std::size_t size) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    unsigned char digest[32];
    bool done = BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0 &&
                BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0;
    // Fed in pieces: one call takes at most 4 GB.
    for (std::size_t at = 0; done && at < size; at += ULONG_MAX) {
        const auto piece = static_cast<ULONG>(std::min<std::size_t>(size - at, ULONG_MAX));
        done = BCryptHashData(hash, const_cast<std::uint8_t*>(bytes + at), piece, 0) == 0;
    }
    done = done && BCryptFinishHash(hash, digest, sizeof digest, 0) == 0;
    if (hash != nullptr) {
        BCryptDestroyHash(hash);
    }
    if (algorithm != nullptr) {
        BCryptCloseAlgorithmProvider(algorithm, 0);
    }
    if (!done) {
        return "sha256-failed";
    }
    std::string hex;
    for (const unsigned char value : digest) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", value);
        hex += pair;
    }
    return hex;
}
