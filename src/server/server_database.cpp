#include "server/server_database.h"

namespace server {
namespace {

// A stock's stamp is the day it was imported or last changed; stamp_run
// counts the imports of that day (1 for the first that day), so code.php can
// resend what a later import of the same day changed (see Replies::Codes).
// WITHOUT ROWID keeps each table in its key order, so one stock's bars are
// read as one contiguous range. The date indexes serve login.php (newest
// bar, cut date) and code.php (records newer than the client's cursor); the
// latter covers every column sent, so the reply is one index range scan.
constexpr const char* kSchema = R"(
PRAGMA journal_mode = WAL;
PRAGMA synchronous = NORMAL;
CREATE TABLE IF NOT EXISTS stocks(
    market TEXT NOT NULL, code TEXT NOT NULL, name TEXT NOT NULL, pinyin TEXT NOT NULL,
    type INTEGER NOT NULL, stamp INTEGER NOT NULL, stamp_run INTEGER NOT NULL DEFAULT 1,
    PRIMARY KEY(market, code)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS daily(
    market TEXT NOT NULL, code TEXT NOT NULL, date INTEGER NOT NULL,
    open REAL NOT NULL, high REAL NOT NULL, low REAL NOT NULL, close REAL NOT NULL,
    volume REAL NOT NULL,
    PRIMARY KEY(market, code, date)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS daily_by_date ON daily(date);
CREATE TABLE IF NOT EXISTS dividends(
    market TEXT NOT NULL, code TEXT NOT NULL, date INTEGER NOT NULL,
    songgu REAL NOT NULL, zhuanzeng REAL NOT NULL, paixi REAL NOT NULL,
    peigu REAL NOT NULL, peigujia REAL NOT NULL,
    PRIMARY KEY(market, code, date)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS news(
    position INTEGER PRIMARY KEY, popp INTEGER NOT NULL, vrsn INTEGER NOT NULL,
    title TEXT NOT NULL, addr TEXT NOT NULL, text TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS hosts(
    position INTEGER PRIMARY KEY, nett INTEGER NOT NULL, addr TEXT NOT NULL, cmnt TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS pool_models(
    model TEXT PRIMARY KEY, caption TEXT NOT NULL, info TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS pool_entries(
    model TEXT NOT NULL, rank INTEGER NOT NULL, date INTEGER NOT NULL,
    market TEXT NOT NULL, code TEXT NOT NULL, capital INTEGER NOT NULL,
    pe REAL NOT NULL, pb REAL NOT NULL, mpg REAL NOT NULL,
    PRIMARY KEY(model, market, code));
CREATE TABLE IF NOT EXISTS settings(name TEXT PRIMARY KEY, value TEXT NOT NULL);
)";

// Databases made before stamp_run existed get it (their stocks count as
// their day's first import), and code.php's index then covers it.
constexpr const char* kStampRunColumn =
    "SELECT COUNT(*) FROM pragma_table_info('stocks') WHERE name = 'stamp_run'";
constexpr const char* kAddStampRun =
    "ALTER TABLE stocks ADD COLUMN stamp_run INTEGER NOT NULL DEFAULT 1";
constexpr const char* kStampIndex = R"(
DROP INDEX IF EXISTS stocks_by_stamp;
CREATE INDEX IF NOT EXISTS stocks_by_stamp_run
    ON stocks(stamp, market, code, name, pinyin, type, stamp_run);
)";

}  // namespace

std::filesystem::path DatabasePath(const std::filesystem::path& data_dir) {
    return data_dir / kDatabaseFileName;
}

Database OpenServerDatabase(const std::filesystem::path& data_dir) {
    std::filesystem::create_directories(data_dir);
    Database db = OpenDatabase(DatabasePath(data_dir).string(), OpenOptions{.one_thread = true});
    Exec(db, kSchema);
    Statement has_stamp_run = Prepare(db, kStampRunColumn);
    if (SingleInt(has_stamp_run, {}) == 0) Exec(db, kAddStampRun);
    Exec(db, kStampIndex);
    return db;
}

Database OpenServerDatabaseToRead(const std::filesystem::path& data_dir) {
    return OpenDatabase(DatabasePath(data_dir).string(),
                        OpenOptions{.read_only = true, .one_thread = true});
}

void SetSetting(Database& db, std::string_view name, std::string_view value) {
    Exec(db,
         "INSERT INTO settings(name, value) VALUES(?1, ?2) "
         "ON CONFLICT(name) DO UPDATE SET value = excluded.value",
         {name, value});
}

void DeleteSetting(Database& db, std::string_view name) {
    Exec(db, "DELETE FROM settings WHERE name = ?1", {name});
}

}  // namespace server
