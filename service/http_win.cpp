#include "service/http.h"

#include "service/request_signing.h"
#include "support/win_handles.h"

#include <process.h>

#include <atomic>
#include <cstring>
#include <memory>

namespace {

// One read asks for this much, the rest of a 1024-byte buffer: the chunk rule
// (a zero byte drops the rest of its read) depends on it.
constexpr DWORD kReadBytes = 1023;

// INTERNET_OPEN_TYPE_PRECONFIG takes the proxy the user (or an administrator)
// configured; that is also how tests reach a loopback service with the real
// compiled-in host.
InternetOwner OpenRoot(unsigned long timeoutMs) {
    InternetOwner root(
        InternetOpenA(HTTP_AGENT, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (root) {
        DWORD timeout = timeoutMs;
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT})
            InternetSetOptionA(root.get(), option, &timeout, sizeof timeout);
    }
    return root;
}

// RELOAD and NO_CACHE_WRITE: the answer comes from the service every time,
// never from a cached (or tampered) copy, and none is kept.
// NO_COOKIES: the user's stored cookies are not sent, and a cookie a reply
// sets is neither kept nor sent back. NO_AUTH: WinINet otherwise answers an
// authentication challenge on its own, with credentials it has cached or the
// signed-in user's logon to an intranet host; the service needs none.
// NO_UI: no dialog, from a worker thread nobody watches. The flags belong to
// the request handle, so they hold for every redirect it follows.
// https://learn.microsoft.com/windows/win32/api/wininet/nf-wininet-internetopenurla
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH |
                                INTERNET_FLAG_NO_UI;

InternetOwner OpenUrl(const InternetOwner& root, const char* url) {
    return InternetOwner(InternetOpenUrlA(root.get(), url, nullptr, 0, kRequestFlags, 0));
}

unsigned long StatusOf(const InternetOwner& request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr))
        return 0;
    return status;
}

// Shared by the caller and the request's thread; whichever lets go last
// frees it. The caller reads `reply` only after the thread has ended.
struct FetchJob {
    FetchJob(std::string u, const HttpLimits& l) : url(std::move(u)), limits(l) {}
    std::string url;
    HttpLimits limits;
    HttpReply reply;
    std::atomic<bool> abandoned{false};
};

void RunFetch(FetchJob& job) {
    const ULONGLONG start = GetTickCount64();
    HttpReply& reply = job.reply;
    try {
        // Declared in this order so that the request handle closes first.
        InternetOwner root = OpenRoot(job.limits.deadlineMs);
        if (!root)
            return;
        InternetOwner request = OpenUrl(root, job.url.c_str());
        if (!request)
            return;
        reply.opened = true;
        reply.status = StatusOf(request);
        char buffer[kReadBytes + 1];
        size_t received = 0;
        for (;;) {
            // The caller has gone on: stop reading what nobody will use.
            if (job.abandoned || GetTickCount64() - start > job.limits.deadlineMs) {
                reply.body.clear();
                return;
            }
            const DWORD ask = job.limits.firstReadOnly && job.limits.maxBodyBytes < kReadBytes
                                  ? static_cast<DWORD>(job.limits.maxBodyBytes)
                                  : kReadBytes;
            // A failed read reports 0 bytes, which ends the body as if it
            // were complete; the success flag adds nothing.
            DWORD count = 0;
            InternetReadFile(request.get(), buffer, ask, &count);
            if (count == 0)
                break;
            received += count;
            if (received > job.limits.maxBodyBytes) {
                reply.body.clear();
                reply.tooLarge = true;
                return;
            }
            AppendChunk(reply.body, buffer, count);
            if (job.limits.firstReadOnly)
                break;
        }
        reply.complete = true;
    } catch (...) {
        // Out of memory while growing the body: keep what arrived; the
        // owners have already closed both handles.
        reply.complete = reply.opened;
    }
}

unsigned __stdcall FetchThread(void* param) {
    const std::unique_ptr<std::shared_ptr<FetchJob>> job(
        static_cast<std::shared_ptr<FetchJob>*>(param));
    RunFetch(**job);
    return 0;
}

} // namespace

void AppendChunk(std::string& body, const char* chunk, size_t count) {
    const void* zero = std::memchr(chunk, 0, count);
    body.append(chunk, zero ? static_cast<const char*>(zero) - chunk : count);
}

HttpReply HttpFetch(const std::string& url, const HttpLimits& limits) {
    try {
        auto job = std::make_shared<FetchJob>(url, limits);
        auto* param = new std::shared_ptr<FetchJob>(job);
        HandleOwner thread(
            reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &FetchThread, param, 0, nullptr)));
        if (!thread) {
            delete param;
            return HttpReply();
        }
        // WinINet's own timeouts count per connection attempt and per read, so
        // a server that trickles its reply never trips them: the deadline is
        // kept here. A thread that outlives it is left to end by itself (its
        // handles cannot be closed from here: another request may already
        // have been given the same handle values).
        if (WaitForSingleObject(thread.get(), limits.deadlineMs) != WAIT_OBJECT_0) {
            job->abandoned = true;
            return HttpReply();
        }
        HttpReply reply = std::move(job->reply);
        if (!reply.complete)
            reply.body.clear();
        return reply;
    } catch (...) {
        return HttpReply();
    }
}

void HttpGet(std::string url, std::string& body) {
    HttpReply reply = HttpFetch(url, kDocumentLimits);
    if (reply.opened)
        body = std::move(reply.body);
}

int GetServerTimestamp() {
    const HttpReply reply = HttpFetch(TVX_TIMESTAMP_ENDPOINT, kClockLimits);
    return reply.complete ? ParseServerTimestamp(reply.body.c_str()) : 0;
}
