#pragma once
// Runs a program to the end and captures what it printed, for end-to-end
// tests of the command-line programs: any program, korvel-cli on a client
// folder, or a korvel-server command. Header-only so any test program can
// include it.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_support {

struct ProcessResult {
    int exitCode = -1;  // the exit status, or 128 + signal number when killed
    std::string out;
    std::string err;
};

// Runs argv[0] (a path) with the arguments argv[1..] in `workingDir` (the
// current directory when empty), stdin from /dev/null, and waits for it.
inline ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingDir = "") {
    if (argv.empty()) throw std::invalid_argument("RunProcess: no program");
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) throw std::runtime_error("RunProcess: pipe failed");
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        throw std::runtime_error("RunProcess: pipe failed");
    }
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0) dup2(devNull, 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(126);
        execv(args[0], args.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        throw std::runtime_error("RunProcess: fork failed");
    }

    ProcessResult result;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[65536];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (pollfd& f : fds)
        if (f.fd >= 0) close(f.fd);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

// korvel-cli with `words` on the client folder `dir` (its --dir option).
inline ProcessResult RunCli(const std::filesystem::path& dir, const std::vector<std::string>& words) {
    std::vector<std::string> argv = {KORVEL_CLI_PATH, "--dir", dir.string()};
    argv.insert(argv.end(), words.begin(), words.end());
    return RunProcess(argv);
}

// korvel-server with `words`, e.g. {"import-csv", "--data", folder, ...}.
inline ProcessResult RunServerCommand(const std::vector<std::string>& words) {
    std::vector<std::string> argv = {KORVEL_SERVER_PATH};
    argv.insert(argv.end(), words.begin(), words.end());
    return RunProcess(argv);
}

// What a program printed, line by line, without the line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

}  // namespace testing_support
