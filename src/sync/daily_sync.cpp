#include "sync/daily_sync.h"

#include <array>
#include <optional>

#include "sync/reply_values.h"
#include "sync/xml_reply.h"
#include "text/gbk.h"

namespace {

// Where one kind of record is found in its reply and where it goes. Every
// field is a number the insert writes unquoted, so a field that is no
// number makes the record fail (BareNumber).
struct RecordLayout {
    const char* xpath;
    std::array<const char*, 6> fields;
    const char* insert;  // market, code, then the six fields
};

const RecordLayout kDividends = {
    "//divid",
    {"date", "songgu", "zhuanzheng", "paixi", "peigu", "ppeigu"},
    "INSERT INTO DIVIDEND(MARKET, CODE, DDATE, SONGGU, ZHUANZHENG, PAIXI, PEIGU, PPEIGU) "
    "VALUES(?, ?, ?, ?, ?, ?, ?, ?)"};

const RecordLayout kDaily = {
    "//daily",
    {"date", "open", "high", "low", "close", "volume"},
    "INSERT INTO DAILY(MARKET, CODE, DDATE, DOPEN, DHIGH, DLOW, DCLOSE, VOLUME) VALUES(?, ?, ?, ?, ?, ?, ?, ?)"};

// A record with a field that is neither a plain number nor NULL fails, as
// its insert would; so does one that puts NULL into a NOT NULL column or
// whose key is stored already (inserts never replace). All are skipped.
void InsertRecord(Statement& insert, const SyncJob& job, const XmlElement& record, const RecordLayout& layout) {
    std::array<std::optional<std::string>, 6> values;  // nothing = NULL
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string text = record.Child(layout.fields[i]).Text();
        if (IsNullKeyword(text)) continue;
        const std::optional<std::string_view> number = BareNumber(text);
        if (!number) return;
        values[i] = std::string(*number);
    }
    insert.Reset();
    bool bound = insert.Bind(1, job.market) && insert.Bind(2, job.code);
    for (size_t i = 0; i < values.size(); ++i) {
        const int index = static_cast<int>(i) + 3;
        bound = bound && (values[i] ? insert.Bind(index, *values[i]) : insert.Bind(index, nullptr));
    }
    if (!bound) return;
    while (insert.Step()) {
    }
}

void StoreRecords(Database& db, const SyncJob& job, const XmlReply& reply, const RecordLayout& layout) {
    db.Exec("BEGIN");
    {
        std::optional<Statement> insert = db.Prepare(layout.insert);
        if (insert)
            for (const XmlElement& record : reply.SelectAll(layout.xpath)) InsertRecord(*insert, job, record, layout);
    }
    db.Exec("COMMIT");
}

// One reply of records; nothing when it is missing, too short or not XML.
std::optional<XmlReply> FetchRecords(const ServerAccess& server, const std::string& url) {
    const std::string reply = Fetch(server, url);
    if (!IsLongEnough(reply)) return std::nullopt;
    return XmlReply::Load(reply);
}

// Dividends first, so a stock's bars never arrive without the records that
// adjust them. False when a reply is missing.
bool DownloadJob(Database& db, const ServerAccess& server, const SyncJob& job, const SyncReporter& report) {
    static const std::string kDividendText = text::Utf8ToGbk("正在更新除权数据： ");
    static const std::string kDailyText = text::Utf8ToGbk("正在更新日线数据： ");
    const std::string stock = job.code + " " + job.abbr + "...";

    Report(report, SyncReport::kRunning, kDividendText + stock);
    const std::optional<XmlReply> dividends =
        FetchRecords(server, DividendUrl(server, job.market, job.code, job.first, job.last));
    if (!dividends) return false;
    StoreRecords(db, job, *dividends, kDividends);

    Report(report, SyncReport::kRunning, kDailyText + stock);
    const std::optional<XmlReply> bars = FetchRecords(server, DailyUrl(server, job.market, job.code, job.first, job.last));
    if (!bars) return false;
    StoreRecords(db, job, *bars, kDaily);
    return true;
}

bool DownloadAll(Database& db, const ServerAccess& server, const DailySyncRequest& request,
                 const SyncReporter& report) {
    for (const SyncJob& job : request.jobs) {
        if (job.first == request.update && job.last == request.update) continue;
        if (!DownloadJob(db, server, job, report)) return false;
    }
    return true;
}

}  // namespace

int RunDailySync(Database& db, CDataCenter& dc, const ServerAccess& server, const DailySyncRequest& request,
                 const SyncReporter& report, const MessageSink& show, const SignalStep& signalStep) {
    const bool downloaded = DownloadAll(db, server, request, report);

    // The advice follows whatever bars arrived, also after a failed download.
    std::vector<SignalJob> signalJobs;
    signalJobs.reserve(request.jobs.size());
    for (const SyncJob& job : request.jobs) signalJobs.push_back({job.market, job.code, job.abbr});
    if (signalStep) {
        signalStep(db, dc, signalJobs, request.allSignals,
                   [&report](const std::string& text) { Report(report, SyncReport::kRunning, text); }, show);
    }

    if (!downloaded) {
        Report(report, SyncReport::kFailed, text::Utf8ToGbk("无法下载数据，请切换到其他服务器。"));
        return SyncReport::kFailed;
    }
    return ReportNothingToSync(report);
}

int ReportNothingToSync(const SyncReporter& report) {
    Report(report, SyncReport::kSucceeded, text::Utf8ToGbk("日线数据同步更新完毕。"));
    return SyncReport::kSucceeded;
}
