// pool.php's reply as the client reads it, then its entries added to the
// watch list.
#include "fuzz_page.h"
#include "fuzz_support.h"
#include "sync/stock_pool.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    fuzz::Page = [&](const std::string&) { return reply; };
    const std::optional<StockPool> pool = FetchPool(ServerAccess{"127.0.0.1:1", 1, {}}, "vpool");
    if (pool) {
        std::vector<PoolEntry> entries = pool->entries;
        for (PoolEntry& entry : entries) {
            PoolRowCells(entry);
            entry.selected = true;
        }
        Database& db = fuzz::ClientDatabase();
        AddPoolStocks(db, entries);
        db.Exec("DELETE FROM SECRET");
    }
    return 0;
}
