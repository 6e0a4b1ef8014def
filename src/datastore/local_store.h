#pragma once
// The data steps of start-up, shared by the desktop program and the CLI:
// open the database, load the settings, fill the run parameters from them,
// and point the data center at the database.
#include <filesystem>
#include <memory>

#include "datastore/data_center.h"
#include "datastore/database.h"
#include "datastore/message_sink.h"
#include "datastore/settings.h"

// What the application owns for the whole run. Keep it alive while the data
// center reads from `database`.
struct LocalStore {
    Database database;
    SettingsMap settings;
};

// Nothing when the database cannot be opened or the settings cannot be read
// (the message has been shown then).
std::unique_ptr<LocalStore> OpenLocalStore(const std::filesystem::path& dir, CDataCenter& dataCenter,
                                           const MessageSink& show);
