// code.php's reply as the client stores it in STOCKCODE.
#include "fuzz_page.h"
#include "fuzz_support.h"
#include "sync/stock_codes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    fuzz::Page = [&](const std::string&) { return reply; };
    Database& db = fuzz::ClientDatabase();
    SyncStockCodes(db, ServerAccess{"127.0.0.1:1", 1, {}}, [](const SyncReport&) {});
    db.Exec("DELETE FROM STOCKCODE");  // each input starts from an empty list
    return 0;
}
