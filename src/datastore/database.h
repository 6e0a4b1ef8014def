#pragma once
// A small RAII layer over SQLite: one connection, statements run whole, prepared
// statements with bound parameters, whole results fetched as text, and
// explicit transactions.
//
// Thread-safety: the connection is opened in SQLite's serialized mode, so one
// Database may be used from several threads at once without a lock of ours.
// (A connection opened with OpenOptions::one_thread leaves that mode out and
// must be used by one thread at a time.) A Statement belongs to the thread
// that prepared it. Each operation that can fail records SQLite's message for
// the calling thread (LastError), taken under the connection's own mutex so
// another thread's failure cannot replace it.
#include <sqlite3.h>

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Bytes bound as a BLOB; the caller keeps them alive until the bind returns.
struct BlobRef {
    const void* data;
    size_t size;
};

// One value bound to a statement parameter. Text is bound as it stands (GBK
// bytes stay GBK bytes), so a bound value stores exactly what the same value
// written into the statement text would have stored.
class SqlValue {
public:
    SqlValue(std::nullptr_t) : value_(nullptr) {}
    template <std::integral T>
    SqlValue(T v) : value_(static_cast<int64_t>(v)) {}
    SqlValue(double v) : value_(v) {}
    SqlValue(std::string_view v) : value_(v) {}
    SqlValue(const char* v) : value_(std::string_view(v)) {}
    SqlValue(const std::string& v) : value_(std::string_view(v)) {}
    SqlValue(BlobRef v) : value_(v) {}

    // Binds this value to parameter `index` (1-based) of `stmt`.
    int BindTo(sqlite3_stmt* stmt, int index) const;

private:
    std::variant<std::nullptr_t, int64_t, double, std::string_view, BlobRef> value_;
};

// A whole query result as text, the way the store's reads fetch it: one
// cell per row and column in row-major order. SQL NULL reads as empty text.
struct TextTable {
    std::vector<std::string> columns;
    std::vector<std::string> cells;

    size_t RowCount() const { return columns.empty() ? 0 : cells.size() / columns.size(); }
    const std::string& At(size_t row, size_t column) const {
        return cells[row * columns.size() + column];
    }
};

class Statement {
public:
    Statement(Statement&&) noexcept = default;
    Statement& operator=(Statement&&) noexcept = default;

    // Binds parameter `index` (1-based); false when SQLite refuses the value.
    bool Bind(int index, const SqlValue& value);
    // Binds the values to parameters 1, 2, ... in order.
    bool BindAll(std::initializer_list<SqlValue> values);

    // Advances to the next row: true while a row is ready, false once the
    // statement is done or has failed (then Failed() is true).
    bool Step();
    bool Failed() const { return failed_; }
    // Makes the statement ready to run again; bindings are kept.
    void Reset();

    int ColumnCount() const;
    std::string ColumnName(int column) const;
    int ColumnType(int column) const;  // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, ...
    // The number and text reads are inline: a large reply reads thousands.
    int64_t ColumnInt64(int column) const { return sqlite3_column_int64(stmt_.get(), column); }
    double ColumnDouble(int column) const { return sqlite3_column_double(stmt_.get(), column); }
    std::string ColumnText(int column) const;  // bytes as stored; NULL reads as ""
    // The same bytes without a copy, valid until the statement steps, is
    // reset or reads the column as another type.
    std::string_view ColumnTextView(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
        if (text == nullptr) return {};
        return {text, static_cast<size_t>(sqlite3_column_bytes(stmt_.get(), column))};
    }
    std::vector<unsigned char> ColumnBlob(int column) const;
    // The cell as SQLite holds it, valid until the statement steps or is
    // reset: one call into SQLite (one pass through the connection's mutex),
    // after which sqlite3_value_type / _double / _int64 read it directly.
    // Those readers need the connection's mutex held, so use it only on the
    // rows ForEachRow hands over, which run under that mutex.
    sqlite3_value* ColumnValue(int column) const { return sqlite3_column_value(stmt_.get(), column); }

private:
    friend class Database;
    // Step() for a caller that holds the connection's mutex already.
    bool StepHoldingConnection();
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
    };
    Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), mutex_(sqlite3_db_mutex(db)), stmt_(stmt) {}

    sqlite3* db_;
    sqlite3_mutex* mutex_;  // the connection's own; none outside serialized mode
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
    bool failed_ = false;
};

// How Database::Open(path, options) opens a connection; the defaults are
// what Open(path) does.
struct OpenOptions {
    // Reads only, and the file must exist. (A database in WAL mode still
    // gets its -wal and -shm files beside it, as SQLite needs them to read.)
    bool read_only = false;
    // Used by one thread at a time, e.g. one connection per worker thread:
    // opened without SQLite's own mutex (SQLITE_OPEN_NOMUTEX).
    bool one_thread = false;
};

class Database {
public:
    // Opens (creating when missing) the file at `path` in serialized mode.
    // Nothing when SQLite cannot open it.
    static std::optional<Database> Open(const std::string& path);
    static std::optional<Database> Open(const std::string& path, const OpenOptions& options);

    Database(Database&&) noexcept = default;
    Database& operator=(Database&&) noexcept = default;

    const std::string& Path() const { return path_; }

    // Runs one statement (or, without values, several separated by ';') to
    // the end; false on failure.
    bool Exec(std::string_view sql, std::initializer_list<SqlValue> values = {});

    // Prepares one statement; nothing on failure.
    std::optional<Statement> Prepare(std::string_view sql);

    // Runs a query and returns every row as text; nothing when the query fails.
    std::optional<TextTable> GetTable(std::string_view sql,
                                      std::initializer_list<SqlValue> values = {});

    // Runs a query and hands each row to `row`, holding the connection (its
    // mutex) for the whole read as GetTable does; false when the query fails
    // (rows handed over before the failure stay handed over). The prepared
    // statement is kept for the next read of the same text.
    bool ForEachRow(std::string_view sql, std::initializer_list<SqlValue> values,
                    const std::function<void(const Statement& row)>& row);

    // The message of the calling thread's latest failed operation on any
    // Database.
    static const std::string& LastError();

    // Rows inserted, changed or deleted by statements on this connection so far.
    int64_t TotalChanges() const { return sqlite3_total_changes64(db_.get()); }

    sqlite3* Handle() const { return db_.get(); }

private:
    struct Closer {
        void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
    };
    Database(std::unique_ptr<sqlite3, Closer> db, std::string path)
        : db_(std::move(db)), path_(std::move(path)) {}

    // A statement ForEachRow prepared, kept for the next read of the same
    // text: a stock load runs the same two queries every time, and preparing
    // one costs about as much as reading a hundred rows. Reset after each
    // read, so it holds no read transaction between reads.
    struct CachedStatement {
        std::string sql;
        Statement statement;
        bool inUse = false;  // a row callback may start another read
    };
    static constexpr size_t kMaxCachedStatements = 16;
    // A free cached statement for `sql`, prepared when there is none, marked
    // in use; nothing when preparing fails. Call with the connection held.
    CachedStatement* TakeCachedStatement(std::string_view sql);

    std::unique_ptr<sqlite3, Closer> db_;
    std::string path_;
    // Touched only under the connection's mutex. Declared after db_, so the
    // statements are finalized before the connection closes.
    std::vector<std::unique_ptr<CachedStatement>> statements_;
};

// An explicit transaction: "BEGIN" when made, "ROLLBACK" when it goes away
// uncommitted, so an early return or an exception stores nothing of it.
// Every statement on the connection runs inside it until then, whichever
// thread runs it.
class Transaction {
public:
    // Begins a transaction on `db`; nothing when "BEGIN" fails.
    static std::optional<Transaction> Begin(Database& db);

    // "COMMIT"; false when it fails (the transaction then stays open and is
    // rolled back when this goes away).
    bool Commit();

private:
    struct Rollback {
        void operator()(sqlite3* db) const;
    };
    explicit Transaction(sqlite3* db) : open_(db) {}

    std::unique_ptr<sqlite3, Rollback> open_;  // the connection while uncommitted
};
