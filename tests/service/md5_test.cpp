#include "service/md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

std::string Md5(const std::string& text) {
    return CMD5Checksum::HexDigest(text.data(), text.size());
}

TEST(Md5, Rfc1321Suite) {
    EXPECT_EQ(Md5(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5(std::string("1234567890") + "1234567890" + "1234567890" + "1234567890" +
                  "1234567890" + "1234567890" + "1234567890" + "1234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

// Lengths around the padding boundary: 55 bytes still take the length in the
// same block, 56 to 63 need a second block, 64 and 65 cross a full block.
TEST(Md5, PaddingBoundaries) {
    EXPECT_EQ(Md5(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(Md5(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(Md5(std::string(63, 'a')), "b06521f39153d618550606be297466d5");
    EXPECT_EQ(Md5(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
    EXPECT_EQ(Md5(std::string(65, 'a')), "c743a45e0d2e6a95cb859adae0248435");
}

TEST(Md5, MillionBytesAndPiecewiseUpdates) {
    const std::string million(1000000, 'a');
    EXPECT_EQ(Md5(million), "7707d6ae4e027c70eea2a935c2296f21");

    // Feeding the same bytes in uneven pieces must not change the digest.
    CMD5Checksum md5;
    size_t fed = 0;
    for (size_t piece = 1; fed < million.size(); piece = piece * 3 % 997 + 1) {
        const size_t n = std::min(piece, million.size() - fed);
        md5.Update(million.data() + fed, n);
        fed += n;
    }
    EXPECT_EQ(md5.Final(), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5, HighBytesAndEmbeddedZeros) {
    // Bytes above 0x7f must not be sign-extended; zeros are data, not ends.
    const std::string bytes("\xff\x00\x80\x01", 4);
    EXPECT_EQ(Md5(bytes), "ca363c4f8c7da3ace34d485296d28f8c");
}

// Every length from 0 to 199 over bytes of all values, summarised as the MD5
// of the 200 hex digests run together (the value computed with Python's
// hashlib), so that each padding case and high byte values are covered.
TEST(Md5, AllLengthsUpTo199AgreeWithAReference) {
    std::string digests;
    for (size_t n = 0; n < 200; ++n) {
        std::string data;
        for (size_t i = 0; i < n; ++i)
            data.push_back(static_cast<char>((i * 151 + 7) % 256));
        digests += Md5(data);
    }
    EXPECT_EQ(Md5(digests), "17659ba531b007cab5c28cd5e592316e");
}

} // namespace
