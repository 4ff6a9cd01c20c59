#include "service/request_signing.h"

#include "service/md5.h"
#include "support/text.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>

// The hashed text lives in a 1024-byte buffer on the service's side of the
// protocol too; a host so long that it would not fit is a build error here.
static_assert(sizeof(TVX_ACCESS_TOKEN_KEY) - 1 + 20 + sizeof(TVX_CONFIG_ENDPOINT) <= 1024,
              "configuration endpoint too long to sign");

int ParseServerTimestamp(const char* reply) {
    return ReadLeadingInt(reply);
}

std::string AccessTokenText(uint64_t stamp) {
    char text[1024];
    std::snprintf(text, sizeof text, "%s%" PRIu64 "%s", TVX_ACCESS_TOKEN_KEY, stamp,
                  TVX_CONFIG_ENDPOINT);
    return text;
}

std::string SignRequestUrlWithStamp(const std::string& baseUrl, uint64_t stamp) {
    const std::string hashed = AccessTokenText(stamp);
    char stampParameter[32];
    std::snprintf(stampParameter, sizeof stampParameter, "&timestamp=%" PRIu64, stamp);
    return baseUrl + stampParameter +
           "&accesstoken=" + CMD5Checksum::HexDigest(hashed.data(), hashed.size());
}

std::string SignRequestUrl(const std::string& baseUrl, int timestamp) {
    const uint64_t stamp = timestamp > 0 ? static_cast<uint64_t>(timestamp)
                                         : static_cast<uint64_t>(std::time(nullptr));
    return SignRequestUrlWithStamp(baseUrl, stamp);
}
