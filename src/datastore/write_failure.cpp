#include "datastore/write_failure.h"

#include "text/gbk.h"

namespace {

// Failures that concern the record written and no other.
bool IsRecordFault(int code) {
    switch (code & 0xFF) {
        case SQLITE_CONSTRAINT:
        case SQLITE_MISMATCH:
        case SQLITE_TOOBIG:
        case SQLITE_RANGE: return true;
        default: return false;
    }
}

WriteFault FaultOf(int code) {
    switch (code & 0xFF) {
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
        case SQLITE_CANTOPEN: return WriteFault::kReadOnly;
        case SQLITE_FULL: return WriteFault::kDiskFull;
        case SQLITE_BUSY:
        case SQLITE_LOCKED: return WriteFault::kBusy;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB: return WriteFault::kDamaged;
        default: return WriteFault::kOther;
    }
}

// The cause as a user can act on it (UTF-8); SQLite's own message for any other.
std::string CauseText(WriteFault fault) {
    switch (fault) {
        case WriteFault::kReadOnly: return "文件只读或没有写权限";
        case WriteFault::kDiskFull: return "磁盘已满";
        case WriteFault::kBusy: return "数据库正被其他程序占用";
        case WriteFault::kDamaged: return "数据库文件已损坏";
        case WriteFault::kOther: break;
    }
    return Database::LastError();
}

WriteFailure FailureOf(int code, const std::string& path) {
    const WriteFault fault = FaultOf(code);
    // The path is UTF-8 like every file name here; the text is GBK.
    return {fault, text::Utf8ToGbk("本地数据库无法写入（" + CauseText(fault) + "）：" + path)};
}

}  // namespace

std::optional<WriteFailure> WriteFailureOf(int code, const std::string& path) {
    if (IsRecordFault(code)) return std::nullopt;
    return FailureOf(code, path);
}

std::optional<WriteFailure> DatabaseWriteFailure(const Database& db) {
    return WriteFailureOf(Database::LastErrorCode(), db.Path());
}

WriteFailure FailedWrite(const Database& db) { return FailureOf(Database::LastErrorCode(), db.Path()); }
