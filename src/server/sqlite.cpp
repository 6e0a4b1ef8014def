#include "server/sqlite.h"

#include <stdexcept>

namespace server {
namespace {

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

}  // namespace

Database::Database(const std::string& path, bool create) {
    sqlite3* db = nullptr;
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    db_.reset(db);
    if (rc != SQLITE_OK) Fail(db, "cannot open " + path);
    sqlite3_busy_timeout(db, 5000);
}

void Database::Exec(const char* sql) const {
    if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(db_.get(), std::string("cannot run \"") + sql + "\"");
}

Statement::Statement(const Database& db, const char* sql) : db_(db.handle()) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        Fail(db_, std::string("cannot prepare \"") + sql + "\"");
    stmt_.reset(stmt);
}

void Statement::Check(int rc) const {
    if (rc != SQLITE_OK) Fail(db_, "cannot bind a value");
}

Statement& Statement::Bind(int index, int64_t value) {
    Check(sqlite3_bind_int64(stmt_.get(), index, value));
    return *this;
}

Statement& Statement::Bind(int index, double value) {
    Check(sqlite3_bind_double(stmt_.get(), index, value));
    return *this;
}

Statement& Statement::Bind(int index, std::string_view value) {
    Check(sqlite3_bind_text(stmt_.get(), index, value.data(), static_cast<int>(value.size()),
                            SQLITE_TRANSIENT));
    return *this;
}

bool Statement::Step() {
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(db_, std::string("cannot run \"") + sqlite3_sql(stmt_.get()) + "\"");
}

void Statement::Run() {
    const int rc = sqlite3_step(stmt_.get());
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        const std::string sql = sqlite3_sql(stmt_.get());
        Reset();
        Fail(db_, "cannot run \"" + sql + "\"");
    }
    Reset();
}

void Statement::Reset() {
    sqlite3_reset(stmt_.get());
    sqlite3_clear_bindings(stmt_.get());
}

std::string_view Statement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
    if (text == nullptr) return {};
    return {text, static_cast<size_t>(sqlite3_column_bytes(stmt_.get(), column))};
}

Transaction::Transaction(const Database& db) : db_(db) { db_.Exec("BEGIN"); }

Transaction::~Transaction() {
    if (open_) sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
    db_.Exec("COMMIT");
    open_ = false;
}

}  // namespace server
