#pragma once
// korvel-server `serve --data DIR --listen 127.0.0.1:0` as a child process,
// its port read from its first line; stopped with SIGTERM (SIGKILL after 10 s).
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "run_process.h"

namespace testing_support {

class ServerProcess {
public:
    // `stderr_path`: file that receives the server's log (access lines);
    // empty leaves the test's own stderr. `options` go after the listen
    // address (e.g. "--timeout", "1").
    explicit ServerProcess(const std::string& data_dir, const std::string& stderr_path = "",
                           const std::vector<std::string>& options = {}) {
        std::vector<std::string> argv = {KORVEL_SERVER_PATH, "serve", "--data", data_dir, "--listen", "127.0.0.1:0"};
        argv.insert(argv.end(), options.begin(), options.end());
        pid_ = Spawn(argv, (out_ / "out").string(), stderr_path);
        // The server prints the line once it listens; it may also fail first.
        std::string line;
        for (int i = 0; i < 3000 && line.find('\n') == std::string::npos && Running(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            line = ReadFile(out_ / "out");
        }
        const std::string prefix = "listening on 127.0.0.1:";
        if (line.rfind(prefix, 0) == 0) port_ = std::atoi(line.c_str() + prefix.size());
        if (port_ <= 0) {
            Stop();
            throw std::runtime_error("korvel-server did not start listening (output: '" + line + "')");
        }
    }

    ~ServerProcess() { Stop(); }  // not copied: it owns the process and a TempDir

    int port() const { return port_; }
    // The server as the client's HOST setting names it.
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

    // Stops the server; returns its wait status (also after an earlier Stop).
    int Stop() {
        if (Running()) kill(pid_, SIGTERM);
        for (int i = 0; Running(); ++i) {
            if (i == 2000) kill(pid_, SIGKILL);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return status_;
    }

private:
    // Whether the process is still alive; its wait status is kept once it has ended.
    bool Running() {
        if (pid_ > 0 && waitpid(pid_, &status_, WNOHANG) != 0) pid_ = -1;
        return pid_ > 0;
    }

    TempDir out_;  // its stdout
    pid_t pid_ = -1;
    int status_ = 0;
    int port_ = 0;
};

}  // namespace testing_support
