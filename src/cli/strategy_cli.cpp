#include "cli/strategy_cli.h"

#include <filesystem>

#include "datastore/open_database.h"
#include "text/gbk.h"

namespace cli {

std::string TabLine(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) line += (i ? "\t" : "") + cells[i];
    return line + "\n";
}

std::string ForTerminal(const std::string& gbk) {
    std::string utf8 = text::GbkToUtf8(gbk);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i)
        if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')) out += utf8[i];
    return out;
}

void PrintFailure(std::string_view command, std::string_view message) {
    std::fprintf(stderr, "korvel-cli %.*s: %.*s\n", static_cast<int>(command.size()), command.data(),
                 static_cast<int>(message.size()), message.data());
}

MessageSink FailureSink(std::string_view command) {
    return [name = std::string(command)](std::string_view message) { PrintFailure(name, message); };
}

std::unique_ptr<LocalStore> OpenStore(const Context& context, std::string_view command) {
    // The messages of opening concern the database file: name it.
    const std::filesystem::path dir = context.dir;
    const std::filesystem::path file =
        dir / (std::filesystem::exists(dir / kPreferredDatabaseFile) ? kPreferredDatabaseFile : kDefaultDatabaseFile);
    const MessageSink show = [name = std::string(command), file](std::string_view message) {
        PrintFailure(name, std::string(message) + " (" + file.string() + ")");
    };
    return OpenLocalStore(context.dir, TheDataCenter(), show);
}

std::unique_ptr<LocalStore> OpenStrategyStore(const Context& context, std::string_view command) {
    std::unique_ptr<LocalStore> store = OpenStore(context, command);
    if (store) TheDataCenter().LoadStockList();
    return store;
}

bool LoadStockWithBars(CDataCenter& dc, const std::string& market, const std::string& code,
                       std::string_view command) {
    if (!dc.LoadStock(text::Utf8ToGbk(code), text::Utf8ToGbk(market))) {
        PrintFailure(command, "cannot read the daily bars: " + Database::LastError());
        return false;
    }
    if (dc.Dates().empty()) {
        PrintFailure(command, "no daily bars stored for " + market + " " + code);
        return false;
    }
    return true;
}

}  // namespace cli
