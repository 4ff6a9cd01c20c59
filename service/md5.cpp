#include "service/md5.h"

#include <cstdio>
#include <cstring>

namespace {

// Per-step shift amounts, four per round.
constexpr uint32_t kShift[4][4] = {
    {7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// T[i] = floor(abs(sin(i + 1)) * 2^32), the sine-derived table of RFC 1321.
constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

uint32_t RotateLeft(uint32_t x, uint32_t n) {
    return (x << n) | (x >> (32 - n));
}

} // namespace

CMD5Checksum::CMD5Checksum() {
    std::memset(m_buffer, 0, sizeof m_buffer);
    m_count[0] = m_count[1] = 0;
    m_state[0] = 0x67452301;
    m_state[1] = 0xefcdab89;
    m_state[2] = 0x98badcfe;
    m_state[3] = 0x10325476;
}

std::string CMD5Checksum::HexDigest(const void* data, size_t length) {
    CMD5Checksum md5;
    md5.Update(data, length);
    return md5.Final();
}

void CMD5Checksum::Transform(const uint8_t block[64]) {
    // The block is read as sixteen little-endian words whatever the host's
    // byte order.
    uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = uint32_t(block[i * 4]) | uint32_t(block[i * 4 + 1]) << 8 |
               uint32_t(block[i * 4 + 2]) << 16 | uint32_t(block[i * 4 + 3]) << 24;
    }
    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        uint32_t f;
        int k;
        switch (round) {
        case 0:
            f = (b & c) | (~b & d);
            k = i;
            break;
        case 1:
            f = (b & d) | (c & ~d);
            k = (5 * i + 1) % 16;
            break;
        case 2:
            f = b ^ c ^ d;
            k = (3 * i + 5) % 16;
            break;
        default:
            f = c ^ (b | ~d);
            k = (7 * i) % 16;
            break;
        }
        const uint32_t rotated = RotateLeft(a + f + x[k] + kSine[i], kShift[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = b + rotated;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void CMD5Checksum::Update(const void* data, size_t length) {
    const uint8_t* input = static_cast<const uint8_t*>(data);
    size_t buffered = (m_count[0] >> 3) & 0x3F;

    // The bit count is kept modulo 2^64 in two words; the high word takes
    // the carry and the bits that 8 * length pushes past 32.
    const uint32_t lowBits = static_cast<uint32_t>(length) << 3;
    m_count[0] += lowBits;
    if (m_count[0] < lowBits)
        ++m_count[1];
    m_count[1] += static_cast<uint32_t>(static_cast<uint64_t>(length) >> 29);

    size_t used = 0;
    const size_t room = 64 - buffered;
    if (length >= room) {
        std::memcpy(m_buffer + buffered, input, room);
        Transform(m_buffer);
        for (used = room; used + 63 < length; used += 64)
            Transform(input + used);
        buffered = 0;
    }
    std::memcpy(m_buffer + buffered, input + used, length - used);
}

std::string CMD5Checksum::Final() {
    uint8_t bits[8];
    for (int i = 0; i < 8; ++i)
        bits[i] = static_cast<uint8_t>(m_count[i / 4] >> ((i % 4) * 8));

    static const uint8_t padding[64] = {0x80};
    const size_t buffered = (m_count[0] >> 3) & 0x3F;
    Update(padding, buffered < 56 ? 56 - buffered : 120 - buffered);
    Update(bits, 8);

    std::string hex;
    hex.reserve(32);
    char pair[3];
    for (int i = 0; i < 16; ++i) {
        const unsigned byte = (m_state[i / 4] >> ((i % 4) * 8)) & 0xFF;
        std::snprintf(pair, sizeof pair, byte < 16 ? "0%x" : "%x", byte);
        hex += pair;
    }
    return hex;
}
