#include "app/platform/embedded_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include "datastore/settings.h"

namespace {

constexpr const char* kServerDatabase = "korvel-server.db3";
constexpr int kStartMs = 10000;
constexpr int kBuildMs = 120000;

QString ServerProgram() { return QCoreApplication::applicationDirPath() + QStringLiteral("/korvel-server"); }

// The bundled data as a server database in `dir`, built on first use.
bool BuildServerData(const std::filesystem::path& dir, QString& problem) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(dir / kServerDatabase, ignored)) return true;
    QProcess build;
    build.setProcessChannelMode(QProcess::MergedChannels);
    build.start(ServerProgram(), {QStringLiteral("init-demo"), QStringLiteral("--data"), QString::fromStdString(dir)});
    if (build.waitForFinished(kBuildMs) && build.exitStatus() == QProcess::NormalExit && build.exitCode() == 0)
        return true;
    problem = QStringLiteral("korvel-server init-demo: ") + QString::fromLocal8Bit(build.readAll()).trimmed();
    std::filesystem::remove(dir / kServerDatabase, ignored);  // built again next time
    return false;
}

}  // namespace

bool SomethingAnswers(const std::string& host, int port, int timeoutMs) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) return false;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool answered = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (!answered && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof error;
        answered = poll(&p, 1, timeoutMs) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
                   error == 0;
    }
    close(fd);
    return answered;
}

std::unique_ptr<EmbeddedServer> EmbeddedServer::StartIfNeeded(const std::string& host,
                                                               const std::filesystem::path& dataFolder,
                                                               QString& problem) {
    problem.clear();
    const std::string defaultHost = kDefaultHost;
    const size_t colon = defaultHost.rfind(':');
    const std::string address = defaultHost.substr(0, colon);
    const int port = std::stoi(defaultHost.substr(colon + 1));
    if (host != defaultHost || SomethingAnswers(address, port, 300)) return nullptr;
    if (!QFileInfo(ServerProgram()).isExecutable()) {
        problem = QStringLiteral("%1 is not installed").arg(ServerProgram());
        return nullptr;
    }
    const std::filesystem::path dir = dataFolder / "server";
    if (!BuildServerData(dir, problem)) return nullptr;

    std::unique_ptr<EmbeddedServer> server(new EmbeddedServer);
    QProcess& process = server->process_;
    process.setStandardErrorFile(QString::fromStdString(dir / "serve.log"), QIODevice::Append);
    process.start(ServerProgram(), {QStringLiteral("serve"), QStringLiteral("--data"), QString::fromStdString(dir),
                                    QStringLiteral("--listen"), QString::fromStdString(defaultHost)});
    // It is ready once it says where it listens.
    QElapsedTimer waited;
    waited.start();
    while (!process.canReadLine() && process.state() != QProcess::NotRunning && waited.elapsed() < kStartMs)
        process.waitForReadyRead(100);
    if (process.readLine().startsWith("listening on")) return server;
    problem = QStringLiteral("korvel-server serve did not start (log: %1)")
                  .arg(QString::fromStdString(dir / "serve.log"));
    return nullptr;  // the destructor stops what started
}

EmbeddedServer::~EmbeddedServer() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}
