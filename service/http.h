// Plain HTTP GET through WinINet, the way every request of this program is
// made: its own root handle, the machine's configured proxy, no status check.
#pragma once

#include <string>

// The user agent of every internet handle.
#define HTTP_AGENT "Quenmar"

// Fetches url's body into body. body is cleared only once the URL has been
// opened, so callers pass it empty and treat an empty result as a failed
// fetch. A body is cut at an embedded zero byte to the end of that read.
// Never throws.
void HttpGet(std::string url, std::string& body);

// The configuration service's clock, in seconds since 1970; 0 when it cannot
// be fetched or the reply starts with no number. Never throws.
int GetServerTimestamp();

// Appends one read's bytes up to the first zero byte among them.
void AppendChunk(std::string& body, const char* chunk, size_t count);
