#pragma once
// korvel-server `serve --data DIR --listen 127.0.0.1:0` as a child process,
// its port read from its first line; stopped with SIGTERM (SIGKILL after 10 s).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace testing_support {

class ServerProcess {
public:
    // `stderr_path`: file that receives the server's log (access lines);
    // empty leaves the test's own stderr. `options` go after the listen
    // address (e.g. "--timeout", "1").
    explicit ServerProcess(const std::string& data_dir, const std::string& stderr_path = "",
                           const std::string& program = KORVEL_SERVER_PATH,
                           const std::vector<std::string>& options = {}) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        if (!stderr_path.empty())
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderr_path.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> args = {program,  "serve",    "--data",
                                         data_dir, "--listen", "127.0.0.1:0"};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (rc != 0) {
            close(out[0]);
            throw std::runtime_error("cannot start " + program);
        }
        const std::string line = ReadLine(out[0], std::chrono::seconds(30));
        close(out[0]);
        const std::string prefix = "listening on 127.0.0.1:";
        if (line.rfind(prefix, 0) == 0) port_ = std::atoi(line.c_str() + prefix.size());
        if (port_ <= 0) {
            Stop();
            throw std::runtime_error("korvel-server did not start listening (first line: '" + line +
                                     "')");
        }
    }

    ~ServerProcess() { Stop(); }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return port_; }
    // The server as the client's HOST setting names it.
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

    // Stops the server; returns its wait status (also after an earlier Stop).
    int Stop() {
        if (pid_ <= 0) return status_;
        kill(pid_, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (waitpid(pid_, &status_, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status_, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pid_ = -1;
        return status_;
    }

private:
    static std::string ReadLine(int fd, std::chrono::seconds timeout) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char c;
            if (read(fd, &c, 1) != 1 || c == '\n') break;
            line += c;
        }
        return line;
    }

    pid_t pid_ = -1;
    int status_ = 0;
    int port_ = 0;
};

}  // namespace testing_support
