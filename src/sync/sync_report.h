#pragma once
// How a synchronisation worker tells the one who started it how it goes: a
// result (running, succeeded, failed) and a status line.
//
// Reports are synchronous: the worker calls the receiver and goes on only
// when it returns, i.e. when the report has been handled (the desktop
// program hands it to the window with a blocking queued call, the CLI
// prints a line). An empty receiver means nobody listens; nothing is sent.
#include <functional>
#include <string>

struct SyncReport {
    static constexpr int kRunning = 0;
    static constexpr int kSucceeded = 1;
    static constexpr int kFailed = -1;

    int result = kRunning;
    std::string text;   // GBK
    std::string about;  // the server (HOST) a failure concerns, for showing beside the text; often empty
};

using SyncReporter = std::function<void(const SyncReport& report)>;

inline void Report(const SyncReporter& receiver, int result, std::string text, std::string about = {}) {
    if (receiver) receiver(SyncReport{result, std::move(text), std::move(about)});
}
