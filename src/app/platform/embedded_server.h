#pragma once
// The bundled data server for a new user. When the HOST setting is still the
// default loopback address and nothing answers there, the program starts
// korvel-server (found beside the program) on the bundled data while it
// runs, so real stocks show with no set-up. Its database is built in the
// user's data folder with "korvel-server init-demo" on first use. A HOST the
// user set is never overridden.
#include <QProcess>
#include <QString>

#include <filesystem>
#include <memory>
#include <string>

class EmbeddedServer {
public:
    // Starts the server when `host` is the default and nothing answers
    // there. Nothing when it is not needed, or when it cannot start (then
    // `problem` says why; it stays empty when no server was needed).
    static std::unique_ptr<EmbeddedServer> StartIfNeeded(const std::string& host,
                                                         const std::filesystem::path& dataFolder, QString& problem);
    ~EmbeddedServer();  // stops the server

    EmbeddedServer(const EmbeddedServer&) = delete;
    EmbeddedServer& operator=(const EmbeddedServer&) = delete;

private:
    EmbeddedServer() = default;

    QProcess process_;
};

// True when something accepts a TCP connection at host:port within `timeoutMs`.
bool SomethingAnswers(const std::string& host, int port, int timeoutMs);
