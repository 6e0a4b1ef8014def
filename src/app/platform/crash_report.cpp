#include "app/platform/crash_report.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "datastore/program_version.h"

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};

// Everything the handler needs is prepared here, so it only calls
// async-signal-safe functions: open, write, backtrace_symbols_fd, raise.
char reportPath[4096];
char alternateStack[64 * 1024];  // a stack overflow still gets its report

void WriteText(int fd, const char* text) {
    const ssize_t ignored = write(fd, text, std::strlen(text));
    (void)ignored;
}

void WriteNumber(int fd, int value) {
    char digits[16];
    int n = 0;
    unsigned v = value < 0 ? 0U - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0 && n < 15);
    if (value < 0) digits[n++] = '-';
    std::reverse(digits, digits + n);
    digits[n] = '\0';
    WriteText(fd, digits);
}

void OnFatalSignal(int signalNumber) {
    const int fd = open(reportPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        WriteText(fd, "Korvel ");
        WriteText(fd, version::kText);
        WriteText(fd, " crash report\nsignal ");
        WriteNumber(fd, signalNumber);
        WriteText(fd, " (");
        WriteText(fd, sigabbrev_np(signalNumber) != nullptr ? sigabbrev_np(signalNumber) : "?");
        WriteText(fd, ")\nprocess ");
        WriteNumber(fd, getpid());
        WriteText(fd, "\nbacktrace:\n");
        void* frames[64];
        backtrace_symbols_fd(frames, backtrace(frames, 64), fd);
        close(fd);
    }
    // The handler was reset on entry: raising again ends the program with
    // the signal's own effect (and core dump).
    raise(signalNumber);
}

std::string ReportFileName() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return "crash-" + std::string(stamp) + "-" + std::to_string(getpid()) + ".new";
}

}  // namespace

bool InstallCrashReporting(const std::filesystem::path& folder, std::string& error) {
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made || !std::filesystem::is_directory(folder, made)) {
        error = "cannot create the crash report folder " + folder.string() + ": " + made.message();
        return false;
    }
    const std::string path = (folder / ReportFileName()).string();
    if (path.size() >= sizeof reportPath) {
        error = "the crash report path is too long: " + path;
        return false;
    }
    std::memcpy(reportPath, path.c_str(), path.size() + 1);

    // backtrace() loads its unwinder on first use, which may allocate: not
    // in a signal handler.
    void* warmUp[1];
    backtrace(warmUp, 1);

    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action{};
    action.sa_handler = OnFatalSignal;
    action.sa_flags = SA_RESETHAND | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int s : kFatalSignals) sigaction(s, &action, nullptr);
    return true;
}

std::vector<std::filesystem::path> TakeNewCrashReports(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> taken;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".new") continue;
        std::filesystem::path announced = entry.path();
        announced.replace_extension(".txt");
        std::filesystem::rename(entry.path(), announced, error);
        if (!error) taken.push_back(announced);
    }
    std::sort(taken.begin(), taken.end());
    return taken;
}
