#pragma once
// A program run as a child process whose standard output and error arrive
// through one pipe, for work that must run in a process of its own (the
// engine's state is process-wide, so parallel breeding is by process).
//
// The child gets a process group of its own, so a Ctrl+C at the terminal
// reaches only the parent, which decides what to stop; and it is sent
// SIGTERM should the parent thread that started it die first. The object
// owns the pipe and the process: destroying a child that has not been
// reaped kills its group and reaps it, so none is left behind as a zombie.
//
// Thread-safety: one thread uses a ChildProcess at a time. Starting one is
// safe in a program with other threads (only async-signal-safe calls run
// between fork and exec).
#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
public:
    // Starts argv[0] (a path) with argv[1..], stdin from /dev/null. Throws
    // std::runtime_error when the pipe or the process cannot be made; a
    // program that cannot be executed exits with status 127.
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The read end of the output pipe, for poll(); -1 once it reached its end.
    int OutputFd() const { return fd_; }
    // Reads what is waiting on the pipe into Output(); false at its end
    // (the pipe is then closed).
    bool ReadAvailable();
    const std::string& Output() const { return output_; }

    // Sends SIGTERM to the child's process group.
    void Terminate();
    // Waits for the child to end; its exit status, or 128 + the signal
    // number when a signal ended it. Later calls return the same value.
    int Wait();

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    int status_ = -1;
    std::string output_;
};
