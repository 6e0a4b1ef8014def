// The server's answer to a request target (and Host header, after a
// newline): parameters decoded and checked, routed, looked up in the reply
// cache and built from a small database.
#include <fstream>

#include "fuzz_support.h"
#include "server/data_server.h"
#include "server/importers.h"
#include "server/server_database.h"

namespace {

// A data folder with a little of everything, served for the whole run with
// 1 MB of reply cache, so eviction runs too.
struct Served {
    Served() : dir(Fill()), server(dir, false, size_t{1} << 20) {}

    static std::filesystem::path Fill() {
        const auto dir = fuzz::Scratch() / "served";
        Database db = server::OpenServerDatabase(dir);
        const server::ImportLog quiet{[](const std::string&) {}, [](const std::string&) {}};
        const auto write = [&](const char* name, const char* text) {
            std::ofstream(dir / name) << text;
            return dir / name;
        };
        server::ImportStocksCsv(
            db, write("stocks.csv", "market,code,name,pinyin,type\nSS,600000,浦发银行,PFYH,1\n"),
            20240101, quiet);
        server::ImportDailyCsv(db,
                               write("SS_600000.csv",
                                     "date,open,high,low,close,volume\n"
                                     "20240102,10,10.2,9.9,10.1,1000\n20240103,10.1,10.3,10,10.2,2000\n"),
                               quiet);
        server::ImportDividendCsv(
            db,
            write("dividend.csv", "market,code,date,songgu,zhuanzeng,paixi,peigu,peigujia\n"
                                  "SS,600000,20200101,1,0,2.5,0,0\n"),
            quiet);
        server::ImportPoolModels(db, write("models.csv", "model,caption,info\nvpool,价值,示例\n"), quiet);
        server::ImportPools(db,
                            write("pools.csv", "model,rank,date,market,code,capital,pe,pb,mpg\n"
                                               "vpool,1,20240105,SS,600000,0,0,0,0\n"),
                            quiet);
        return dir;
    }

    const std::filesystem::path dir;
    server::DataServer server;
};

server::DataServer& Server() {
    static Served served;
    return served.server;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    server::HttpRequest request;
    request.method = "GET";
    request.target = input.substr(0, input.find('\n'));
    if (input.find('\n') != std::string::npos) request.host = input.substr(input.find('\n') + 1);
    request.remote_address = "127.0.0.1";
    server::SplitTarget(request);
    Server().Respond(request);
    return 0;
}
