#include "datastore/database.h"

#include <algorithm>
#include <climits>

namespace {

thread_local std::string t_lastError;
thread_local int t_lastErrorCode = SQLITE_OK;

// Holds the connection's own mutex (a no-op outside serialized mode), so a
// statement's steps and the error message they leave belong together.
class ConnectionLock {
public:
    explicit ConnectionLock(sqlite3* db) : ConnectionLock(sqlite3_db_mutex(db)) {}
    explicit ConnectionLock(sqlite3_mutex* mutex) : mutex_(mutex) {
        if (mutex_) sqlite3_mutex_enter(mutex_);
    }
    ~ConnectionLock() {
        if (mutex_) sqlite3_mutex_leave(mutex_);
    }
    ConnectionLock(const ConnectionLock&) = delete;
    ConnectionLock& operator=(const ConnectionLock&) = delete;

private:
    sqlite3_mutex* mutex_;
};

void RecordError(sqlite3* db) {
    t_lastError = db ? sqlite3_errmsg(db) : "no database";
    t_lastErrorCode = db ? sqlite3_errcode(db) : SQLITE_CANTOPEN;
}

void RecordError(int rc, const char* message) {
    t_lastError = message ? message : sqlite3_errstr(rc);
    t_lastErrorCode = rc;
}

int ClampLength(size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

}  // namespace

int SqlValue::BindTo(sqlite3_stmt* stmt, int index) const {
    struct Binder {
        sqlite3_stmt* stmt;
        int index;
        int operator()(std::nullptr_t) const { return sqlite3_bind_null(stmt, index); }
        int operator()(int64_t v) const { return sqlite3_bind_int64(stmt, index, v); }
        int operator()(double v) const { return sqlite3_bind_double(stmt, index, v); }
        int operator()(std::string_view v) const {
            return sqlite3_bind_text(stmt, index, v.data(), ClampLength(v.size()), SQLITE_TRANSIENT);
        }
        // A null data pointer binds SQL NULL, as sqlite3_bind_blob does.
        int operator()(BlobRef v) const {
            return sqlite3_bind_blob(stmt, index, v.data, ClampLength(v.size), SQLITE_TRANSIENT);
        }
    };
    return std::visit(Binder{stmt, index}, value_);
}

bool Statement::Bind(int index, const SqlValue& value) {
    if (value.BindTo(stmt_.get(), index) == SQLITE_OK) return true;
    ConnectionLock lock(db_);
    RecordError(db_);
    return false;
}

bool Statement::BindAll(std::initializer_list<SqlValue> values) {
    int index = 1;
    for (const SqlValue& value : values)
        if (!Bind(index++, value)) return false;
    return true;
}

bool Statement::Step() {
    ConnectionLock lock(mutex_);
    return StepHoldingConnection();
}

bool Statement::StepHoldingConnection() {
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) return true;
    failed_ = rc != SQLITE_DONE;
    if (failed_) RecordError(db_);
    return false;
}

void Statement::Reset() {
    sqlite3_reset(stmt_.get());
    failed_ = false;
}

int Statement::ColumnCount() const { return sqlite3_column_count(stmt_.get()); }

std::string Statement::ColumnName(int column) const {
    const char* name = sqlite3_column_name(stmt_.get(), column);
    return name ? name : "";
}

int Statement::ColumnType(int column) const { return sqlite3_column_type(stmt_.get(), column); }

std::string Statement::ColumnText(int column) const {
    const auto* text = sqlite3_column_text(stmt_.get(), column);
    if (text == nullptr) return {};
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(stmt_.get(), column)));
}

std::vector<unsigned char> Statement::ColumnBlob(int column) const {
    const auto* data = static_cast<const unsigned char*>(sqlite3_column_blob(stmt_.get(), column));
    if (data == nullptr) return {};
    return std::vector<unsigned char>(data, data + sqlite3_column_bytes(stmt_.get(), column));
}

std::optional<Database> Database::Open(const std::string& path) { return Open(path, OpenOptions{}); }

std::optional<Database> Database::Open(const std::string& path, const OpenOptions& options) {
    sqlite3* raw = nullptr;
    const int flags = (options.read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                      (options.one_thread ? SQLITE_OPEN_NOMUTEX : SQLITE_OPEN_FULLMUTEX);
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    // SQLite hands out a handle even when opening fails; it must be closed.
    std::unique_ptr<sqlite3, Closer> db(raw);
    if (rc != SQLITE_OK) {
        RecordError(raw);
        return std::nullopt;
    }
    // Another program (the GUI and the CLI) may hold the file for a moment.
    sqlite3_busy_timeout(raw, 5000);
    return Database(std::move(db), path);
}

bool Database::Exec(std::string_view sql, std::initializer_list<SqlValue> values) {
    if (values.size() == 0) {
        const std::string text(sql);
        char* message = nullptr;
        const int rc = sqlite3_exec(db_.get(), text.c_str(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK) RecordError(rc, message);
        sqlite3_free(message);
        return rc == SQLITE_OK;
    }
    std::optional<Statement> stmt = Prepare(sql);
    if (!stmt || !stmt->BindAll(values)) return false;
    while (stmt->Step()) {
    }
    return !stmt->Failed();
}

std::optional<Statement> Database::Prepare(std::string_view sql) {
    ConnectionLock lock(db_.get());
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db_.get(), sql.data(), ClampLength(sql.size()), &raw, nullptr);
    if (rc != SQLITE_OK || raw == nullptr) {
        sqlite3_finalize(raw);
        if (rc != SQLITE_OK) RecordError(db_.get());
        else RecordError(SQLITE_MISUSE, "empty statement");
        return std::nullopt;
    }
    return Statement(db_.get(), raw);
}

Database::CachedStatement* Database::TakeCachedStatement(std::string_view sql) {
    for (const auto& cached : statements_) {
        if (!cached->inUse && cached->sql == sql) {
            cached->inUse = true;
            return cached.get();
        }
    }
    std::optional<Statement> stmt = Prepare(sql);
    if (!stmt) return nullptr;
    if (statements_.size() >= kMaxCachedStatements) {
        // Drops the oldest free one; those in use stay where they are.
        const auto free = std::find_if(statements_.begin(), statements_.end(),
                                       [](const auto& cached) { return !cached->inUse; });
        if (free != statements_.end()) statements_.erase(free);
    }
    statements_.push_back(std::make_unique<CachedStatement>(CachedStatement{std::string(sql), std::move(*stmt), true}));
    return statements_.back().get();
}

bool Database::ForEachRow(std::string_view sql, std::initializer_list<SqlValue> values,
                          const std::function<void(const Statement& row)>& row) {
    // The whole read runs under the connection's mutex, as sqlite3_get_table
    // does, so no other thread's write lands between two rows; the same mutex
    // guards the cached statements.
    ConnectionLock lock(db_.get());
    CachedStatement* cached = TakeCachedStatement(sql);
    if (cached == nullptr) return false;
    // Whatever happens, the statement is left reset (ending its read), unbound
    // and free for the next read.
    struct Release {
        CachedStatement& cached;
        ~Release() {
            cached.statement.Reset();
            sqlite3_clear_bindings(cached.statement.stmt_.get());
            cached.inUse = false;
        }
    } release{*cached};
    Statement& stmt = cached->statement;
    if (!stmt.BindAll(values)) return false;
    while (stmt.StepHoldingConnection()) row(stmt);
    return !stmt.Failed();
}

std::optional<TextTable> Database::GetTable(std::string_view sql, std::initializer_list<SqlValue> values) {
    ConnectionLock lock(db_.get());
    std::optional<Statement> stmt = Prepare(sql);
    if (!stmt || !stmt->BindAll(values)) return std::nullopt;
    TextTable table;
    const int columns = stmt->ColumnCount();
    for (int c = 0; c < columns; ++c) table.columns.push_back(stmt->ColumnName(c));
    while (stmt->Step())
        for (int c = 0; c < columns; ++c) table.cells.push_back(stmt->ColumnText(c));
    if (stmt->Failed()) return std::nullopt;
    return table;
}

const std::string& Database::LastError() { return t_lastError; }

int Database::LastErrorCode() { return t_lastErrorCode & 0xFF; }

std::optional<Transaction> Transaction::Begin(Database& db) {
    if (!db.Exec("BEGIN")) return std::nullopt;
    return Transaction(db.Handle());
}

bool Transaction::Commit() {
    if (!open_) return true;  // committed already
    ConnectionLock lock(open_.get());
    if (sqlite3_exec(open_.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        RecordError(open_.get());
        return false;
    }
    open_.release();
    return true;
}

void Transaction::Rollback::operator()(sqlite3* db) const {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
}
