// MD5 (RFC 1321), used only to compute the access token of a signed request.
// The token is not a security boundary of this program; it merely has to
// match what the configuration service computes from the same text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CMD5Checksum {
public:
    CMD5Checksum();
    virtual ~CMD5Checksum() = default;

    // The digest of `length` bytes as 32 lower-case hex digits.
    static std::string HexDigest(const void* data, size_t length);

    void Update(const void* data, size_t length);
    // Pads the message, finishes the digest and returns it as 32 hex digits.
    // The object is spent afterwards: one object, one digest.
    std::string Final();

private:
    void Transform(const uint8_t block[64]);

    uint8_t m_buffer[64];
    uint32_t m_count[2]; // message length in bits, low word first
    uint32_t m_state[4]; // chaining values A, B, C, D
};
