// Plain HTTP GET through WinINet, the way every request of this program is
// made: its own root handle, the machine's configured proxy, a bounded wait,
// no cookies and no logon on the user's behalf.
#pragma once

#include "support/config_size.h"

#include <cstddef>
#include <string>

// The user agent of every internet handle.
#define HTTP_AGENT "Quenmar"

// What one request may take. The whole request, connection and body
// included, ends by its deadline; the connect, send and receive timeouts are
// set to the deadline too. A body longer than maxBodyBytes counts as a failed
// download and is not read further.
struct HttpLimits {
    unsigned long deadlineMs;
    size_t maxBodyBytes;
    bool firstReadOnly; // one read of at most maxBodyBytes, the rest ignored
};

constexpr unsigned long kSecondMs = 1000;
constexpr size_t kMiB = 1024 * 1024;
// The service's clock: a short number, read in one go; a longer reply is no
// clock.
constexpr size_t kClockReplyBytes = 127;
constexpr HttpLimits kClockLimits = {10 * kSecondMs, kClockReplyBytes, true};
// The configuration endpoint's JSON reply naming the document.
constexpr HttpLimits kConfigReplyLimits = {30 * kSecondMs, 1 * kMiB, false};
// The configuration document itself (a few kilobytes in practice), held to
// what may be stored as a configuration.
constexpr HttpLimits kDocumentLimits = {30 * kSecondMs, kMaxConfigurationBytes, false};

struct HttpReply {
    bool opened = false;      // the URL was opened: a response came
    bool complete = false;    // and its body was read, within deadline and cap
    unsigned long status = 0; // its HTTP status (0: none came)
    std::string body;         // as received, cut at zero bytes; empty unless complete
    bool tooLarge = false;    // the body went past its cap and was not read further
};

// Fetches url within the limits. The request runs on a thread of its own:
// when the deadline passes the caller goes on with a failed reply and the
// thread is left to end by itself, so that no server, however slow or
// endless its reply, holds a check longer than the deadline. Never throws.
HttpReply HttpFetch(const std::string& url, const HttpLimits& limits);

// Fetches url's body into body, within kDocumentLimits. body is cleared only
// once the URL has been opened, so callers pass it empty and treat an empty
// result as a failed fetch; a reply over the deadline or the cap leaves it
// empty. A body is cut at an embedded zero byte to the end of that read.
// The HTTP status is not examined. Never throws.
void HttpGet(std::string url, std::string& body);

// The configuration service's clock, in seconds since 1970; 0 when it cannot
// be fetched within kClockLimits or the reply starts with no number.
int GetServerTimestamp();

// Appends one read's bytes up to the first zero byte among them.
void AppendChunk(std::string& body, const char* chunk, size_t count);
