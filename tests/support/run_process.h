#pragma once
// Runs a program (any, korvel-cli on a client folder, a korvel-server command)
// to the end and captures what it printed.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "file_content.h"
#include "temp_dir.h"

extern char** environ;

namespace testing_support {

struct ProcessResult {
    int exitCode = -1;  // the exit status, or 128 + signal number when killed
    std::string out;
    std::string err;
};

// Starts argv[0] (a path) with the arguments argv[1..] in `workingDir` (the
// current directory when empty), stdin from /dev/null, stdout into the file
// `out` and stderr into `err` (the test's own when empty); -1 when it fails.
inline pid_t Spawn(const std::vector<std::string>& argv, const std::string& out, const std::string& err,
                   const std::string& workingDir = "") {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!err.empty())
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!workingDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return started == 0 ? pid : -1;
}

// Runs a program as Spawn does and waits for it. Its output goes to files
// read once it has ended, so no pipe can fill up.
inline ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingDir = "") {
    const TempDir dir;
    const std::string out = (dir / "out").string(), err = (dir / "err").string();
    const pid_t pid = Spawn(argv, out, err, workingDir);
    if (pid < 0) return {127, "", "cannot start " + argv[0]};
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadFile(out), ReadFile(err)};
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
inline std::vector<std::string> Lines(const std::string& text) { return Split(text, '\n'); }

}  // namespace testing_support
