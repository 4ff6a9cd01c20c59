// A small HTTP/1.1 server on 127.0.0.1 for the Windows tests: it plays the
// configuration service (reached through the proxy setting, so the product's
// compiled-in host is used unchanged), answers from a table of scripted
// replies and records every request.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ScriptedReply {
    std::string status = "200 OK";
    std::string body;
    // Announce more bytes than are sent, then drop the connection.
    bool dropMidBody = false;
    // Send the body in pieces of this size with short pauses (0: at once).
    size_t pieceSize = 0;
    // The pause between pieces, and before the status line (a server that
    // takes its time to answer at all).
    unsigned pieceDelayMs = 20;
    unsigned headerDelayMs = 0;
    // Extra header lines, each ending in CR LF.
    std::string extraHeaders = std::string();
};

struct RecordedRequest {
    std::string method;
    std::string target; // as sent; absolute when it came through a proxy
    std::string local;  // target without scheme and host
    std::string path;   // local without the query
    std::string userAgent;
    std::string cookie;
};

class LoopbackHttp {
public:
    LoopbackHttp();
    ~LoopbackHttp();
    LoopbackHttp(const LoopbackHttp&) = delete;
    LoopbackHttp& operator=(const LoopbackHttp&) = delete;

    bool listening() const { return m_listener != INVALID_SOCKET; }
    int port() const { return m_port; }

    // Replies by path; anything else gets a short 404 page.
    void Route(const std::string& path, const ScriptedReply& reply);
    std::vector<RecordedRequest> Requests() const;

private:
    void Serve();
    void Answer(SOCKET client);

    std::atomic<bool> m_stop{false};
    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    mutable std::mutex m_lock;
    std::map<std::string, ScriptedReply> m_routes;
    std::vector<RecordedRequest> m_requests;
    std::thread m_thread;
};

// Points the per-user WinINet proxy at 127.0.0.1:port for the test's lifetime
// and puts the previous setting back afterwards.
class ProxyForTest {
public:
    explicit ProxyForTest(int port);
    ~ProxyForTest();
    ProxyForTest(const ProxyForTest&) = delete;
    ProxyForTest& operator=(const ProxyForTest&) = delete;

private:
    struct Saved {
        bool present = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    Saved m_enable;
    Saved m_server;
};

// A loopback port with nothing listening on it: connections are refused.
int ClosedLoopbackPort();
