#pragma once
// Telling a write that failed for its record alone from one that failed for
// the database. A record's own failure (its key is stored already, a value
// its column refuses) is skipped and the job goes on; any other failure
// (the file is read-only, the disk is full, another program holds the lock,
// the file is damaged) ends the job: its transaction is rolled back and the
// job reports the cause, naming the file.
#include <optional>
#include <string>

#include "datastore/database.h"

enum class WriteFault {
    kReadOnly,  // read-only file or folder, or no permission
    kDiskFull,
    kBusy,      // locked by another connection beyond the busy time-out
    kDamaged,   // not a database, or a damaged one
    kOther,     // any other failure (I/O error, missing table, ...)
};

struct WriteFailure {
    WriteFault fault;
    std::string text;  // GBK: "本地数据库无法写入（CAUSE）：FILE"
};

// After a write on `db` failed on this thread: nothing when the failure
// concerns only the record written, else the failure that ends the job.
std::optional<WriteFailure> DatabaseWriteFailure(const Database& db);

// After a write on `db` failed on this thread that has no record of its own
// to skip (BEGIN, COMMIT, a delete): the failure, whatever the code.
WriteFailure FailedWrite(const Database& db);

// The failure for SQLite's result code `code` (primary or extended) on the
// file `path`; nothing for a record's own failure.
std::optional<WriteFailure> WriteFailureOf(int code, const std::string& path);
