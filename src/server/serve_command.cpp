// korvel-server serve: runs the data server until SIGINT or SIGTERM.
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "server/commands.h"
#include "server/data_server.h"
#include "server/fields.h"
#include "server/options.h"
#include "server/replies.h"
#include "server/server_database.h"
#include "text/format.h"

namespace server {

namespace {

// A whole number option from `low` to `high`, or `fallback` when absent.
int64_t NumberOption(const Options& options, const char* name, int64_t low, int64_t high,
                     int64_t fallback, const char* meaning) {
    const std::optional<std::string> text = options.Get(name);
    if (!text) return fallback;
    const std::optional<int64_t> value = ParseInteger(*text);
    if (!value || *value < low || *value > high)
        throw UsageError(text::Format("--%s needs %s from %lld to %lld", name, meaning,
                                      static_cast<long long>(low), static_cast<long long>(high)));
    return *value;
}

// Every connection takes a file descriptor: raise the soft limit to the hard
// one and keep the connection limit below it, so the server refuses a
// connection with a 503 instead of failing to accept it.
int ConnectionsWithinFileLimit(int wanted) {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return wanted;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
        getrlimit(RLIMIT_NOFILE, &limit);
    }
    // Room for the database, the log and refusals in flight.
    constexpr rlim_t kReserve = 320;
    const rlim_t room = limit.rlim_cur > kReserve ? limit.rlim_cur - kReserve : 1;
    if (wanted == 0 || static_cast<rlim_t>(wanted) > room) {
        std::fprintf(stderr, "korvel-server: at most %llu connections (open file limit %llu)\n",
                     static_cast<unsigned long long>(room),
                     static_cast<unsigned long long>(limit.rlim_cur));
        return static_cast<int>(std::min<rlim_t>(room, 1 << 30));
    }
    return wanted;
}

}  // namespace

int ServeCommand(const Words& words) {
    const Options options(
        words, {"data", "listen", "cache-mb", "max-connections", "per-client", "timeout"});
    const std::string data_dir = options.Require("data");
    const std::string listen = options.Get("listen").value_or("127.0.0.1:18080");
    const std::optional<ListenAddress> address = ParseListenAddress(listen);
    if (!address) throw UsageError("--listen needs HOST:PORT, not '" + listen + "'");
    const size_t cache_bytes =
        static_cast<size_t>(NumberOption(options, "cache-mb", 0, 1 << 20, kDefaultCacheBytes >> 20,
                                         "a number of megabytes (0: no cache)"))
        << 20;
    const ServerLimits defaults;
    ServerLimits limits;
    limits.max_connections = static_cast<int>(
        NumberOption(options, "max-connections", 0, 1 << 20, defaults.max_connections,
                     "a number of connections (0: as many as the open file limit allows)"));
    limits.max_per_address = static_cast<int>(NumberOption(
        options, "per-client", 0, 1 << 20, defaults.max_per_address,
        "a number of connections (0: no limit)"));
    limits.timeout = std::chrono::milliseconds(
        1000 * NumberOption(options, "timeout", 1, 3600, defaults.timeout.count() / 1000,
                            "a number of seconds"));
    limits.max_connections = ConnectionsWithinFileLimit(limits.max_connections);

    // The signals are taken by one thread with sigwait, which may call
    // DataServer::Stop (a handler could not). Blocking them before any
    // thread starts makes every thread inherit the mask.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    OpenServerDatabase(data_dir);  // creates an empty one on first use
    DataServer server(data_dir, true, cache_bytes, limits);
    if (Replies(data_dir).Dates().update == 0)
        std::fprintf(
            stderr,
            "korvel-server: no daily bars in %s yet; import some (see korvel-server help)\n",
            data_dir.c_str());
    const ListenAddress bound = server.Bind(*address);
    std::printf("listening on %s\n", FormatAddress(bound).c_str());
    std::fflush(stdout);

    std::atomic<bool> served{false};
    std::thread waiter([&] {
        int signal_number = 0;
        sigwait(&stop_signals, &signal_number);
        if (served) return;  // woken by the main thread below
        std::fprintf(stderr, "korvel-server: stopping on signal %d\n", signal_number);
        server.Stop();
    });
    const bool ok = server.Run();
    served = true;
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    if (!ok)
        std::fprintf(stderr, "korvel-server: serving on %s failed\n", FormatAddress(bound).c_str());
    return ok ? 0 : 1;
}

}  // namespace server
