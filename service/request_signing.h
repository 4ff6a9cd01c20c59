// The two endpoints of the configuration service and the signing of a request
// to the configuration endpoint: a time stamp and an MD5 access token.
#pragma once

#include <cstdint>
#include <string>

#ifndef TVX_SERVICE_HOST
#error "TVX_SERVICE_HOST must name the configuration service host"
#endif

// Both endpoints are built from the compiled-in host; there is no runtime
// override, so a signed request can only ever go to the maker's service.
#define TVX_TIMESTAMP_ENDPOINT "http://" TVX_SERVICE_HOST "/common/getTimestamp"
#define TVX_CONFIG_ENDPOINT "http://" TVX_SERVICE_HOST "/vuzozid/wscheckerconfig"

// Shared with the service; both sides hash the same text.
#define TVX_ACCESS_TOKEN_KEY "qTmW8x$Lr2@Kp+Vbn4YcZsHje"

// The server clock's reply read the way strtol reads it, clamped to the
// signed 32-bit range; 0 when it starts with no digits.
int ParseServerTimestamp(const char* reply);

// Appends "&timestamp=<stamp>&accesstoken=<md5>" to baseUrl. A time stamp of
// 0 or less (no usable server clock) is replaced by the local clock.
std::string SignRequestUrl(const std::string& baseUrl, int timestamp);

// The same with the time stamp already decided; what SignRequestUrl calls.
std::string SignRequestUrlWithStamp(const std::string& baseUrl, uint64_t stamp);

// The text whose MD5 is the access token: key, stamp, configuration endpoint.
std::string AccessTokenText(uint64_t stamp);
