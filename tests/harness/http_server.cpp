#include "tests/harness/http_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>

namespace bktest {
namespace {

struct WinsockStart {
    WinsockStart() {
        WSADATA data;
        ok = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockStart() {
        if (ok) WSACleanup();
    }
    bool ok = false;
};

WinsockStart& Winsock() {
    static WinsockStart start;
    return start;
}

SOCKET Listen(int& port) {
    port = 0;
    if (!Winsock().ok) return INVALID_SOCKET;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 8) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return s;
}

}  // namespace

LocalHttpServer::LocalHttpServer(unsigned lifetimeMs) {
    SOCKET s = Listen(port_);
    if (s == INVALID_SOCKET) return;
    listener_ = static_cast<std::uintptr_t>(s);
    thread_ = std::thread([this, lifetimeMs] { Run(lifetimeMs); });
}

LocalHttpServer::~LocalHttpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != ~std::uintptr_t{0}) closesocket(static_cast<SOCKET>(listener_));
}

std::wstring LocalHttpServer::host() const { return L"127.0.0.1:" + std::to_wstring(port_); }

void LocalHttpServer::Serve(const std::string& path, const std::string& body) {
    std::lock_guard<std::mutex> lock(mutex_);
    files_[path] = body;
}

std::string LocalHttpServer::RequestLog() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

int LocalHttpServer::UnusedPort() {
    int port = 0;
    SOCKET s = Listen(port);
    if (s != INVALID_SOCKET) closesocket(s);
    return port;
}

void LocalHttpServer::Run(unsigned lifetimeMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(lifetimeMs);
    const SOCKET listener = static_cast<SOCKET>(listener_);
    while (!stop_ && std::chrono::steady_clock::now() < end) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener, &ready);
        timeval wait{0, 100000};
        if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
        const SOCKET connection = accept(listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET) continue;
        Answer(static_cast<std::uintptr_t>(connection));
        closesocket(connection);
    }
}

void LocalHttpServer::Answer(std::uintptr_t handle) {
    const SOCKET connection = static_cast<SOCKET>(handle);
    DWORD timeout = 5000;
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const int got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        request.append(buffer, static_cast<size_t>(got));
    }
    ++requests_;
    std::string path;
    if (request.compare(0, 4, "GET ") == 0) {
        const size_t end = request.find(' ', 4);
        path = request.substr(4, end == std::string::npos ? std::string::npos : end - 4);
    }
    std::string status = "404 Not Found", body = "not found\n";
    {
        std::lock_guard<std::mutex> lock(mutex_);
        log_ += path + "\n";
        if (auto it = files_.find(path); it != files_.end()) {
            status = "200 OK";
            body = it->second;
        }
    }
    std::string response = "HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: " +
                           std::to_string(body.size()) +
                           "\r\nCache-Control: no-cache, no-store\r\nConnection: close\r\n\r\n" + body;
    size_t sent = 0;
    while (sent < response.size()) {
        const int n = send(connection, response.data() + sent, static_cast<int>(response.size() - sent), 0);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
    shutdown(connection, SD_SEND);
}

}  // namespace bktest
