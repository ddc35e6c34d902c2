// A small HTTP server for tests on 127.0.0.1, on a free port the system picks: it answers GET
// requests for the paths it was given with their bodies (200) and anything else with 404. It
// runs on a thread of its own from construction until the object goes; every connection is
// bounded in time, and the server ends by itself after `lifetimeMs`.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace bktest {

class LocalHttpServer {
public:
    explicit LocalHttpServer(unsigned lifetimeMs = 120000);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool running() const { return port_ != 0; }
    int port() const { return port_; }
    // "127.0.0.1:<port>".
    std::wstring host() const;

    // Serves `body` at `path` ("/programs/win32/versions/Version.Dummy.DAT").
    void Serve(const std::string& path, const std::string& body);
    // The paths asked for so far, in order.
    std::string RequestLog() const;
    int requestCount() const { return requests_; }

    // A port on 127.0.0.1 on which nothing listens (taken and let go again).
    static int UnusedPort();

private:
    void Run(unsigned lifetimeMs);
    void Answer(std::uintptr_t connection);

    std::uintptr_t listener_ = ~std::uintptr_t{0};
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    mutable std::mutex mutex_;
    std::map<std::string, std::string> files_;
    std::string log_;
    std::thread thread_;
};

}  // namespace bktest
