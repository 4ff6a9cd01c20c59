#include "tests/service/loopback_http.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>

namespace {

const wchar_t kInternetSettings[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

struct WinsockStartup {
    WinsockStartup() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
};

SOCKET BindLoopback(int& port) {
    static WinsockStartup startup;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return s;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return s;
}

void SendAll(SOCKET s, const char* data, size_t size) {
    while (size > 0) {
        const int sent = send(s, data, static_cast<int>(size), 0);
        if (sent <= 0)
            return;
        data += sent;
        size -= sent;
    }
}

std::string HeaderValue(const std::string& head, const std::string& name) {
    size_t at = 0;
    while ((at = head.find("\r\n", at)) != std::string::npos) {
        at += 2;
        if (_strnicmp(head.c_str() + at, name.c_str(), name.size()) == 0 &&
            head.compare(at + name.size(), 1, ":") == 0) {
            const size_t begin = head.find_first_not_of(' ', at + name.size() + 1);
            if (begin == std::string::npos)
                return std::string();
            return head.substr(begin, head.find("\r\n", begin) - begin);
        }
    }
    return std::string();
}

// "http://host:80/p?q" (proxy form) and "/p?q" (origin form) both give "/p?q".
std::string LocalPart(const std::string& target) {
    const size_t scheme = target.find("://");
    if (scheme == std::string::npos)
        return target;
    const size_t slash = target.find('/', scheme + 3);
    return slash == std::string::npos ? "/" : target.substr(slash);
}

} // namespace

LoopbackHttp::LoopbackHttp() {
    m_listener = BindLoopback(m_port);
    if (m_listener == INVALID_SOCKET)
        return;
    if (listen(m_listener, 16) != 0) {
        closesocket(m_listener);
        m_listener = INVALID_SOCKET;
        return;
    }
    m_thread = std::thread([this] { Serve(); });
}

LoopbackHttp::~LoopbackHttp() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener != INVALID_SOCKET)
        closesocket(m_listener);
}

void LoopbackHttp::Route(const std::string& path, const ScriptedReply& reply) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_routes[path] = reply;
}

std::vector<RecordedRequest> LoopbackHttp::Requests() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

void LoopbackHttp::Serve() {
    // Polls with a short timeout rather than blocking in accept, so that the
    // destructor can stop the thread without relying on closesocket waking
    // a blocked accept.
    while (!m_stop) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval wait = {0, 50000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        Answer(client);
        closesocket(client);
    }
}

void LoopbackHttp::Answer(SOCKET client) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        head.append(buffer, got);
    }
    RecordedRequest request;
    const size_t space1 = head.find(' ');
    const size_t space2 = head.find(' ', space1 + 1);
    request.method = head.substr(0, space1);
    request.target = head.substr(space1 + 1, space2 - space1 - 1);
    request.local = LocalPart(request.target);
    request.path = request.local.substr(0, request.local.find('?'));
    request.userAgent = HeaderValue(head, "User-Agent");
    request.cookie = HeaderValue(head, "Cookie");

    ScriptedReply reply;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_requests.push_back(request);
        auto route = m_routes.find(request.path);
        if (route != m_routes.end()) {
            reply = route->second;
        } else {
            reply.status = "404 Not Found";
            reply.body = "<html><body><h1>404 Not Found</h1></body></html>";
        }
    }

    const size_t announced = reply.body.size() + (reply.dropMidBody ? 1000 : 0);
    const std::string cache = reply.extraHeaders.find("Cache-Control") == std::string::npos
                                  ? "Cache-Control: no-store\r\n"
                                  : "";
    const std::string response =
        "HTTP/1.1 " + reply.status +
        "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(announced) + "\r\n" +
        cache + reply.extraHeaders + "Connection: close\r\n\r\n";
    if (reply.headerDelayMs > 0)
        Sleep(reply.headerDelayMs);
    SendAll(client, response.data(), response.size());
    const size_t piece = reply.pieceSize ? reply.pieceSize : reply.body.size();
    for (size_t at = 0; at < reply.body.size(); at += piece) {
        if (at > 0)
            Sleep(reply.pieceDelayMs);
        SendAll(client, reply.body.data() + at, std::min(piece, reply.body.size() - at));
    }
    // For a dropped connection the stream simply ends before the announced
    // length; an orderly end keeps what arrives independent of timing, where
    // a reset may discard received bytes the client has not read yet.
    shutdown(client, SD_SEND);
}

ProxyForTest::ProxyForTest(int port) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    auto save = [key](const wchar_t* name, Saved& saved) {
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
            saved.data.resize(size);
            saved.present = RegQueryValueExW(key, name, nullptr, &saved.type, saved.data.data(),
                                             &size) == ERROR_SUCCESS;
        }
    };
    save(L"ProxyEnable", m_enable);
    save(L"ProxyServer", m_server);
    const DWORD enable = 1;
    RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable),
                   sizeof enable);
    const std::wstring server = L"127.0.0.1:" + std::to_wstring(port);
    RegSetValueExW(key, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                   static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

ProxyForTest::~ProxyForTest() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return;
    auto restore = [key](const wchar_t* name, const Saved& saved) {
        if (saved.present)
            RegSetValueExW(key, name, 0, saved.type, saved.data.data(),
                           static_cast<DWORD>(saved.data.size()));
        else
            RegDeleteValueW(key, name);
    };
    restore(L"ProxyEnable", m_enable);
    restore(L"ProxyServer", m_server);
    RegCloseKey(key);
}

int ClosedLoopbackPort() {
    int port = 0;
    SOCKET s = BindLoopback(port);
    if (s != INVALID_SOCKET)
        closesocket(s);
    return port;
}
