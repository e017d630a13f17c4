#include "tools/sha256.h"

#include <openssl/evp.h>

#include <cstdio>

std::string Sha256Hex(const std::uint8_t* bytes, std::size_t size) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes, size, digest, &length, EVP_sha256(), nullptr) != 1) {
        return "sha256-failed";
    }
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}
