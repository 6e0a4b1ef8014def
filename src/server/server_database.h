#pragma once
// The server's own database, one file in the data folder: stocks with a date
// stamp, daily bars, dividend and rights records, news, hosts, stock pools and
// settings. Text columns hold GBK bytes, exactly as they are served.
#include <filesystem>
#include <string>
#include <string_view>

#include "server/checked_sql.h"

namespace server {

inline constexpr const char* kDatabaseFileName = "korvel-server.db3";

std::filesystem::path DatabasePath(const std::filesystem::path& data_dir);

// Opens the database of `data_dir` for one thread (an import, a command),
// creating the folder, the file and any missing table.
// Throws std::runtime_error, in one line, when the file is not a usable
// database.
Database OpenServerDatabase(const std::filesystem::path& data_dir);
// The same for commands that only use a database (serve, config): a folder
// without one is refused rather than given an empty database.
Database OpenExistingServerDatabase(const std::filesystem::path& data_dir);

// Opens the existing database of `data_dir` read-only for one thread at a
// time (a request thread's connection).
Database OpenServerDatabaseToRead(const std::filesystem::path& data_dir);

// Settings are name/value text pairs (read by Replies::Dates).
void SetSetting(Database& db, std::string_view name, std::string_view value);
void DeleteSetting(Database& db, std::string_view name);

// The setting holding a fixed cut date for the client's data cleanup; when
// absent the cut date follows the data (see Replies::Login).
inline constexpr const char* kCleantoSetting = "cleanto";

}  // namespace server
