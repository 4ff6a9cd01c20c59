// Fuzz target: the signed-URL builder with arbitrary base URLs and stamps,
// and the reading of the server clock's reply.
//
// Input: eight bytes of time stamp (little end first), then the base URL.
#include "service/md5.h"
#include "service/request_signing.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool IsLowerHex(const std::string& text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint64_t stamp = 0;
    const size_t stampBytes = size < 8 ? size : 8;
    for (size_t i = 0; i < stampBytes; ++i)
        stamp |= static_cast<uint64_t>(data[i]) << (8 * i);
    const std::string base(reinterpret_cast<const char*>(data) + stampBytes, size - stampBytes);

    const std::string signedUrl = SignRequestUrlWithStamp(base, stamp);
    // The base is kept byte for byte; the parameters follow it.
    Check(signedUrl.compare(0, base.size(), base) == 0);
    const std::string tail = signedUrl.substr(base.size());
    const std::string stampText = "&timestamp=" + std::to_string(stamp);
    Check(tail.compare(0, stampText.size(), stampText) == 0);
    const std::string tokenText = tail.substr(stampText.size());
    Check(tokenText.size() == 13 + 32 && tokenText.compare(0, 13, "&accesstoken=") == 0);
    const std::string token = tokenText.substr(13);
    Check(IsLowerHex(token));
    // The token signs the stamp with the compiled-in endpoint, never the base.
    const std::string hashed = AccessTokenText(stamp);
    Check(token == CMD5Checksum::HexDigest(hashed.data(), hashed.size()));

    // A positive server stamp is used as given.
    const int serverStamp = static_cast<int>(stamp & 0x7fffffff);
    if (serverStamp > 0)
        Check(SignRequestUrl(base, serverStamp) ==
              SignRequestUrlWithStamp(base, static_cast<uint64_t>(serverStamp)));

    // The server clock's reply: any text, read up to its first zero byte.
    const int parsed = ParseServerTimestamp(base.c_str());
    (void)parsed;
    if (base.size() <= 9 && !base.empty() &&
        base.find_first_not_of("0123456789") == std::string::npos)
        Check(parsed == std::atoi(base.c_str()));
    return 0;
}
