// MD5 message digest (RFC 1321). The recorders identify a user by the MD5 of the password, so the SDK carries
// its own small implementation rather than a crypto dependency.
#pragma once

#include <cstddef>
#include <cstdint>

namespace calvox {

constexpr std::size_t kMd5DigestSize = 16;

class Md5 {
public:
    Md5();
    void Update(const void* data, std::size_t length);
    // Writes the digest; the object must not be updated afterwards.
    void Final(std::uint8_t digest[kMd5DigestSize]);

private:
    void Transform(const std::uint8_t block[64]);

    std::uint32_t state_[4];
    std::uint64_t bitCount_ = 0;
    std::uint8_t buffer_[64];
};

// Digest of `length` bytes.
void Md5Digest(const void* data, std::size_t length, std::uint8_t digest[kMd5DigestSize]);

// Digest of a zero-terminated text (its bytes up to the terminator); null counts as the empty text.
void Md5OfText(const char* text, std::uint8_t digest[kMd5DigestSize]);

} // namespace calvox
