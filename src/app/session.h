#pragma once
// What the desktop program holds for its whole run besides the data center:
// the local store (database connection and settings), this machine's client
// code, and what the last server status reply said (dates, news, hosts).
#include <cstdint>
#include <memory>

#include "datastore/data_center.h"
#include "datastore/local_store.h"
#include "sync/server_requests.h"
#include "sync/server_status.h"

struct Session {
    std::unique_ptr<LocalStore> store;
    CDataCenter* dataCenter = nullptr;
    uint32_t clientCode = 0;
    // Written by the status request on its worker before its final report;
    // read on the user-interface thread only after that.
    ServerInfo server;

    Database& Db() { return store->database; }
    CDataCenter& Dc() { return *dataCenter; }
    // The configured server (HOST setting) as requests reach it.
    ServerAccess Server() const { return ServerAccess{GetSetting(store->settings, "HOST"), clientCode, {}}; }
};
