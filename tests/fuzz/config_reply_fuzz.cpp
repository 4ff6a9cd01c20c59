// Fuzz target: the configuration endpoint's reply over arbitrary bytes.
#include "service/config_reply.h"

#include <json/reader.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    const std::string untouched = "\x01untouched";
    std::string url = untouched;
    const ConfigReply result = ReadConfigReply(reply, url);
    switch (result) {
    case ConfigReply::Located:
        // The URL ends at its first zero byte, so it is always a C string.
        Check(url == untouched || url.find('\0') == std::string::npos);
        break;
    case ConfigReply::Unreadable:
    case ConfigReply::NoBody:
    case ConfigReply::Aborted:
        Check(url == untouched);
        break;
    default:
        Check(false);
    }

    // The same reply read the same way twice gives the same answer.
    std::string again = untouched;
    Check(ReadConfigReply(reply, again) == result && again == url);
    return 0;
}
