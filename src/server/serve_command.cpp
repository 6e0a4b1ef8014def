// korvel-server serve: runs the data server until SIGINT or SIGTERM.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "server/commands.h"
#include "server/data_server.h"
#include "server/fields.h"
#include "server/options.h"
#include "server/replies.h"
#include "server/server_database.h"

namespace server {

int ServeCommand(const Words& words) {
    const Options options(words, {"data", "listen", "cache-mb"});
    const std::string data_dir = options.Require("data");
    const std::string listen = options.Get("listen").value_or("127.0.0.1:18080");
    const std::optional<ListenAddress> address = ParseListenAddress(listen);
    if (!address) throw UsageError("--listen needs HOST:PORT, not '" + listen + "'");
    size_t cache_bytes = kDefaultCacheBytes;
    if (const auto cache_mb = options.Get("cache-mb")) {
        const std::optional<int64_t> mb = ParseInteger(*cache_mb);
        if (!mb || *mb < 0 || *mb > 1 << 20)
            throw UsageError("--cache-mb needs a number of megabytes (0: no cache)");
        cache_bytes = static_cast<size_t>(*mb) << 20;
    }

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
    DataServer server(data_dir, true, cache_bytes);
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
