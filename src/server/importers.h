#pragma once
// Importers that fill the server's database. Each file is imported in one
// transaction; a malformed record is reported through the log with its file
// and line (or record) number and skipped, never half-stored. Importing the
// same data again changes nothing. Input text is UTF-8 and stored as GBK.
#include <filesystem>

#include "server/checked_sql.h"
#include "server/import_log.h"

namespace server {

// Daily bars, "date,open,high,low,close,volume": `path` is one file or a
// folder of files named <MARKET>_<CODE>.csv. A bar replaces a stored one of
// the same day.
ImportTotals ImportDailyCsv(Database& db, const std::filesystem::path& path, const ImportLog& log);

// Dividend and rights records,
// "market,code,date,songgu,zhuanzeng,paixi,peigu,peigujia".
ImportTotals ImportDividendCsv(Database& db, const std::filesystem::path& file,
                               const ImportLog& log);

// The stock list, "market,code,name,pinyin,type". A stock that is new or
// whose name, pinyin or type changed gets the date stamp `stamp` (or the
// newest stamp held, when that is later) and the file's run number on that
// day; unchanged stocks keep theirs, so code.php only sends what changed.
ImportTotals ImportStocksCsv(Database& db, const std::filesystem::path& file, int stamp,
                             const ImportLog& log);

// TDX day files (sh*.day, sz*.day): `path` is one file or a folder searched
// recursively (e.g. vipdoc).
ImportTotals ImportTdx(Database& db, const std::filesystem::path& path, const ImportLog& log);

// Pool captions, "model,caption,info"; a model's row replaces its old one.
ImportTotals ImportPoolModels(Database& db, const std::filesystem::path& file,
                              const ImportLog& log);

// Pool entries, "model,rank,date,market,code,capital,pe,pb,mpg": every model
// named in the file gets exactly the entries the file lists for it.
ImportTotals ImportPools(Database& db, const std::filesystem::path& file, const ImportLog& log);

// News, "popp,vrsn,title,addr,text", and hosts, "nett,addr,cmnt": the file
// replaces the whole list, kept in file order.
ImportTotals ImportNews(Database& db, const std::filesystem::path& file, const ImportLog& log);
ImportTotals ImportHosts(Database& db, const std::filesystem::path& file, const ImportLog& log);

}  // namespace server
