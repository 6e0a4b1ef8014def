// login.php's reply as the client reads it: dates, news and hosts, the HOST
// table replaced.
#include "fuzz_page.h"
#include "fuzz_support.h"
#include "sync/server_status.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    fuzz::Page = [&](const std::string&) { return reply; };
    ServerInfo info;
    RequestServerStatus(fuzz::ClientDatabase(), ServerAccess{"127.0.0.1:1", 1, {}}, info,
                        [](const SyncReport&) {});
    return 0;
}
