#pragma once
// Finding, opening and creating the local database file, with its schema and
// the in-place upgrade of files written by earlier versions.
#include <filesystem>
#include <optional>

#include "datastore/database.h"
#include "datastore/message_sink.h"

// The file names looked for in the working directory: an existing
// "korvel.db3" is used in place, otherwise "thedb.db3" (created when missing).
inline constexpr const char* kPreferredDatabaseFile = "korvel.db3";
inline constexpr const char* kDefaultDatabaseFile = "thedb.db3";

// Opens the database in `dir`, creates missing tables and upgrades older
// files (every schema error is ignored: tables and columns that already exist
// are the normal case). When no file can be opened, shows the message and
// returns nothing.
std::optional<Database> OpenDatabase(const std::filesystem::path& dir, const MessageSink& show);

// The schema and upgrade statements, in the order they run on every start.
void CreateSchema(Database& db);
