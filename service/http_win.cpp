#include "service/http.h"

#include "service/request_signing.h"
#include "support/win_handles.h"

#include <cstring>

namespace {

// INTERNET_OPEN_TYPE_PRECONFIG takes the proxy the user (or an administrator)
// configured; that is also how tests reach a loopback service with the real
// compiled-in host.
InternetOwner OpenRoot() {
    return InternetOwner(
        InternetOpenA(HTTP_AGENT, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
}

InternetOwner OpenUrl(const InternetOwner& root, const char* url) {
    return InternetOwner(InternetOpenUrlA(root.get(), url, nullptr, 0, 0, 0));
}

} // namespace

void AppendChunk(std::string& body, const char* chunk, size_t count) {
    const void* zero = std::memchr(chunk, 0, count);
    body.append(chunk, zero ? static_cast<const char*>(zero) - chunk : count);
}

void HttpGet(std::string url, std::string& body) {
    try {
        // Declared in this order so that the request handle closes first.
        InternetOwner root = OpenRoot();
        if (!root)
            return;
        InternetOwner request = OpenUrl(root, url.c_str());
        if (!request)
            return;
        body.clear();
        char buffer[1024];
        for (;;) {
            // A failed read reports 0 bytes, which ends the body as if it
            // were complete; the success flag adds nothing.
            DWORD count = 0;
            InternetReadFile(request.get(), buffer, sizeof buffer - 1, &count);
            if (count == 0)
                break;
            AppendChunk(body, buffer, count);
        }
    } catch (...) {
        // Out of memory while growing the body: keep what arrived; the
        // owners have already closed both handles.
    }
}

int GetServerTimestamp() {
    try {
        InternetOwner root = OpenRoot();
        if (!root)
            return 0;
        InternetOwner request = OpenUrl(root, TVX_TIMESTAMP_ENDPOINT);
        if (!request)
            return 0;
        // One read only: the clock is a short number and a longer reply is
        // not ours to wait for.
        char buffer[128] = {};
        DWORD count = 0;
        InternetReadFile(request.get(), buffer, sizeof buffer - 1, &count);
        buffer[count < sizeof buffer ? count : sizeof buffer - 1] = '\0';
        return ParseServerTimestamp(buffer);
    } catch (...) {
        return 0;
    }
}
