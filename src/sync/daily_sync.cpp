#include "sync/daily_sync.h"

#include <array>
#include <optional>

#include "datastore/write_failure.h"
#include "sync/record_check.h"
#include "sync/reply_values.h"
#include "sync/xml_reply.h"
#include "text/format.h"
#include "text/gbk.h"

namespace {

// Where one kind of record is found in its reply, which records are
// possible and where they go. Every field is a number the insert writes
// unquoted, so a field that is no number makes the record fail (BareNumber).
struct RecordLayout {
    const char* xpath;
    std::array<const char*, 6> fields;
    const char* insert;  // market, code, then the six fields
    bool (*possible)(const RecordFields& fields, int32_t latestDate);
    const char* refusedText;  // UTF-8, "%d" records, then code and name
};

const RecordLayout kDividends = {
    "//divid",
    {"date", "songgu", "zhuanzheng", "paixi", "peigu", "ppeigu"},
    "INSERT INTO DIVIDEND(MARKET, CODE, DDATE, SONGGU, ZHUANZHENG, PAIXI, PEIGU, PPEIGU) "
    "VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
    [](const RecordFields& fields, int32_t) { return IsPossibleDividend(fields); },
    "拒收不合理的除权数据 %d 条： "};

const RecordLayout kDaily = {
    "//daily",
    {"date", "open", "high", "low", "close", "volume"},
    "INSERT INTO DAILY(MARKET, CODE, DDATE, DOPEN, DHIGH, DLOW, DCLOSE, VOLUME) VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
    IsPossibleBar,
    "拒收不合理的日线数据 %d 条： "};

// The record's fields; nothing when one is neither a plain number nor
// NULL, which would make its insert fail.
std::optional<RecordFields> ReadFields(const XmlElement& record, const RecordLayout& layout) {
    RecordFields fields;  // nothing = NULL
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string text = record.Child(layout.fields[i]).Text();
        if (IsNullKeyword(text)) continue;
        const std::optional<std::string_view> number = BareNumber(text);
        if (!number) return std::nullopt;
        fields[i] = std::string(*number);
    }
    return fields;
}

// True when the insert stored the record or failed for the record alone
// (NULL in a NOT NULL column, a key stored already: inserts never replace).
bool InsertRecord(Statement& insert, const SyncJob& job, const RecordFields& fields) {
    insert.Reset();
    bool bound = insert.Bind(1, job.market) && insert.Bind(2, job.code);
    for (size_t i = 0; i < fields.size(); ++i) {
        const int index = static_cast<int>(i) + 3;
        bound = bound && (fields[i] ? insert.Bind(index, *fields[i]) : insert.Bind(index, nullptr));
    }
    if (!bound) return true;
    while (insert.Step()) {
    }
    return !insert.Failed();
}

struct StoreResult {
    int refused = 0;  // records that fail the checks
    std::optional<WriteFailure> failure;
};

// One reply in one transaction, rolled back whole when the database fails.
StoreResult StoreRecords(Database& db, const SyncJob& job, const XmlReply& reply, const RecordLayout& layout) {
    StoreResult result;
    std::optional<Transaction> transaction = Transaction::Begin(db);
    std::optional<Statement> insert = transaction ? db.Prepare(layout.insert) : std::nullopt;
    if (!insert) {
        result.failure = FailedWrite(db);
        return result;
    }
    const int32_t latest = LatestBarDate();
    for (const XmlElement& record : reply.SelectAll(layout.xpath)) {
        const std::optional<RecordFields> fields = ReadFields(record, layout);
        if (!fields || !layout.possible(*fields, latest)) {
            ++result.refused;
            continue;
        }
        if (InsertRecord(*insert, job, *fields)) continue;
        result.failure = DatabaseWriteFailure(db);
        if (result.failure) return result;
    }
    insert.reset();
    if (!transaction->Commit()) result.failure = FailedWrite(db);
    return result;
}

// One reply of records; nothing when it is missing, too short or not XML.
std::optional<XmlReply> FetchRecords(const ServerAccess& server, const std::string& url) {
    const std::string reply = Fetch(server, url);
    if (!IsLongEnough(reply)) return std::nullopt;
    return XmlReply::Load(reply);
}

// How the download phase ended.
struct Downloads {
    bool complete = true;                      // every reply arrived
    std::optional<WriteFailure> writeFailure;  // the database failed: the run ends
};

// Fetches and stores one reply; false when it is missing.
bool DownloadReply(Database& db, const ServerAccess& server, const SyncJob& job, const std::string& url,
                   const RecordLayout& layout, const SyncReporter& report, Downloads& downloads) {
    const std::optional<XmlReply> reply = FetchRecords(server, url);
    if (!reply) return false;
    const StoreResult stored = StoreRecords(db, job, *reply, layout);
    downloads.writeFailure = stored.failure;
    if (stored.refused > 0 && !stored.failure)
        Report(report, SyncReport::kRunning,
               text::Utf8ToGbk(text::Format(layout.refusedText, stored.refused)) + job.code + " " + job.abbr);
    return true;
}

// Dividends first, so a stock's bars never arrive without the records that
// adjust them.
void DownloadJob(Database& db, const ServerAccess& server, const SyncJob& job, const SyncReporter& report,
                 Downloads& downloads) {
    static const std::string kDividendText = text::Utf8ToGbk("正在更新除权数据： ");
    static const std::string kDailyText = text::Utf8ToGbk("正在更新日线数据： ");
    const std::string stock = job.code + " " + job.abbr + "...";

    Report(report, SyncReport::kRunning, kDividendText + stock);
    downloads.complete = DownloadReply(db, server, job, DividendUrl(server, job.market, job.code, job.first, job.last),
                                       kDividends, report, downloads);
    if (!downloads.complete || downloads.writeFailure) return;

    Report(report, SyncReport::kRunning, kDailyText + stock);
    downloads.complete = DownloadReply(db, server, job, DailyUrl(server, job.market, job.code, job.first, job.last),
                                       kDaily, report, downloads);
}

Downloads DownloadAll(Database& db, const ServerAccess& server, const DailySyncRequest& request,
                      const SyncReporter& report) {
    Downloads downloads;
    for (const SyncJob& job : request.jobs) {
        if (job.first == request.update && job.last == request.update) continue;
        DownloadJob(db, server, job, report, downloads);
        if (!downloads.complete || downloads.writeFailure) break;
    }
    return downloads;
}

}  // namespace

int RunDailySync(Database& db, CDataCenter& dc, const ServerAccess& server, const DailySyncRequest& request,
                 const SyncReporter& report, const MessageSink& show, const SignalStep& signalStep) {
    const Downloads downloads = DownloadAll(db, server, request, report);
    // A database that cannot be written ends the run: the signal step could
    // store nothing either.
    if (downloads.writeFailure) {
        Report(report, SyncReport::kFailed, downloads.writeFailure->text);
        return SyncReport::kFailed;
    }

    // The advice follows whatever bars arrived, also after a failed download.
    std::vector<SignalJob> signalJobs;
    signalJobs.reserve(request.jobs.size());
    for (const SyncJob& job : request.jobs) signalJobs.push_back({job.market, job.code, job.abbr});
    if (signalStep) {
        const std::optional<WriteFailure> failure =
            signalStep(db, dc, signalJobs, request.allSignals,
                       [&report](const std::string& text) { Report(report, SyncReport::kRunning, text); }, show);
        if (failure) {
            Report(report, SyncReport::kFailed, failure->text);
            return SyncReport::kFailed;
        }
    }

    if (!downloads.complete) {
        Report(report, SyncReport::kFailed, text::Utf8ToGbk("无法下载数据，请切换到其他服务器。"), server.host);
        return SyncReport::kFailed;
    }
    return ReportNothingToSync(report);
}

int ReportNothingToSync(const SyncReporter& report) {
    Report(report, SyncReport::kSucceeded, text::Utf8ToGbk("日线数据同步更新完毕。"));
    return SyncReport::kSucceeded;
}
