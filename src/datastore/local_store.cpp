#include "datastore/local_store.h"

#include "datastore/open_database.h"

std::unique_ptr<LocalStore> OpenLocalStore(const std::filesystem::path& dir, CDataCenter& dataCenter,
                                           const MessageSink& show) {
    std::optional<Database> db = OpenDatabase(dir, show);
    if (!db) return nullptr;
    auto store = std::make_unique<LocalStore>(LocalStore{std::move(*db), {}});
    if (!LoadSettings(store->database, store->settings, show)) return nullptr;
    ApplyStartupSettings(dataCenter.Parameters(), store->settings);
    dataCenter.SetDatabase(store->database);
    return store;
}
