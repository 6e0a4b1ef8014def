#include "strategy/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    if (argv.empty()) throw std::invalid_argument("ChildProcess: no program");
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("cannot create a pipe for " + argv[0]);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(126);  // the parent died before prctl
        const int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0) dup2(devNull, 0);
        dup2(pipeFds[1], 1);
        dup2(pipeFds[1], 2);
        execv(args[0], args.data());
        _exit(127);
    }
    close(pipeFds[1]);
    if (pid_ < 0) {
        close(pipeFds[0]);
        throw std::runtime_error("cannot start " + argv[0]);
    }
    // Both sides set the group, so a Terminate() right after the start
    // already reaches it.
    setpgid(pid_, pid_);
    fd_ = pipeFds[0];
}

ChildProcess::~ChildProcess() {
    if (status_ < 0) Terminate();
    Wait();
    if (fd_ >= 0) close(fd_);
}

bool ChildProcess::ReadAvailable() {
    if (fd_ < 0) return false;
    char buffer[4096];
    const ssize_t n = read(fd_, buffer, sizeof buffer);
    if (n > 0) {
        output_.append(buffer, static_cast<size_t>(n));
        return true;
    }
    if (n < 0 && errno == EINTR) return true;
    close(fd_);
    fd_ = -1;
    return false;
}

void ChildProcess::Terminate() {
    if (pid_ > 0 && status_ < 0) kill(-pid_, SIGTERM);
}

int ChildProcess::Wait() {
    if (pid_ <= 0 || status_ >= 0) return status_;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0)
        if (errno != EINTR) return status_ = 128;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return status_;
}
