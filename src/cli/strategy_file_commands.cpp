// korvel-cli export FILE [MARKET:CODE ...] and import FILE [MARKET:CODE ...]:
// strategy files (.opx), with the log lines the export and import dialogs
// show, in order, on stdout.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "strategy/export_list.h"
#include "strategy/strategy_file_reader.h"
#include "strategy/strategy_file_writer.h"
#include "strategy/strategy_import.h"
#include "text/gbk.h"

namespace cli {
namespace {

struct StockWord {
    std::string market;  // GBK
    std::string code;
    std::string word;  // as typed
};

struct FileCommand {
    std::string file;
    std::vector<StockWord> stocks;  // none: every strategy
};

FileCommand ParseFileCommand(const Words& words, const char* command) {
    const Args args = ParseArgs(words, {});
    if (args.positional.empty()) throw UsageError(std::string(command) + " needs a FILE");
    FileCommand parsed{args.positional[0], {}};
    for (size_t i = 1; i < args.positional.size(); ++i) {
        const std::string& word = args.positional[i];
        const size_t colon = word.find(':');
        if (colon == std::string::npos || colon == 0 || colon + 1 == word.size())
            throw UsageError("'" + word + "' is not MARKET:CODE");
        parsed.stocks.push_back({text::Utf8ToGbk(word.substr(0, colon)), text::Utf8ToGbk(word.substr(colon + 1)), word});
    }
    return parsed;
}

// Ticks the entries of the named stocks (every version), or all entries
// when none is named; false after naming each stock that has no entry.
bool Select(std::vector<StrategyEntry>& entries, const std::vector<StockWord>& stocks, std::string_view command,
            const char* missing) {
    bool allFound = true;
    for (const StockWord& s : stocks) {
        bool found = false;
        for (StrategyEntry& e : entries)
            if (e.market == s.market && e.code == s.code) found = e.selected = true;
        if (!found) PrintFailure(command, s.word + " " + missing);
        allFound = allFound && found;
    }
    if (stocks.empty())
        for (StrategyEntry& e : entries) e.selected = true;
    return allFound;
}

void PrintLogLine(const std::string& lineGbk) {
    Print(ForTerminal(lineGbk) + "\n");
    std::fflush(stdout);  // progress shows while the work goes on, also through a pipe
}

int ExportFile(const Context& context, const FileCommand& command) {
    const auto store = OpenLocalStore(context.dir, TheDataCenter(), FailureSink("export"));
    if (!store) return 1;
    std::vector<StrategyEntry> entries = ListExportableStrategies(store->database);
    if (!Select(entries, command.stocks, "export", "has no stored strategy to export")) return 1;
    if (!ExportStrategies(store->database, entries, command.file, PrintLogLine)) {
        PrintFailure("export", "no strategy file written");
        return 1;
    }
    return 0;
}

int ImportFile(const Context& context, const FileCommand& command) {
    const auto store = OpenLocalStore(context.dir, TheDataCenter(), FailureSink("import"));
    if (!store) return 1;
    std::optional<std::vector<StrategyEntry>> entries = ReadStrategyFile(command.file, PrintLogLine);
    if (!entries) {
        PrintFailure("import", command.file + " is not a strategy file");
        return 1;
    }
    if (!Select(*entries, command.stocks, "import", "is not in the file")) return 1;
    StrategyImportWorker worker(store->database, std::move(*entries),
                                [](const std::string& lineGbk, bool) { PrintLogLine(lineGbk); });
    const ImportResult result = worker.Wait();
    if (result.Clean()) return 0;
    PrintFailure("import", result.selected == 0 ? std::string("the file holds no strategy")
                                                : std::to_string(result.failed) + " of " +
                                                      std::to_string(result.selected) +
                                                      " strategies were not imported whole");
    return 1;
}

}  // namespace

int RunExport(const Context& context, const Words& words) {
    return ExportFile(context, ParseFileCommand(words, "export"));
}

int RunImport(const Context& context, const Words& words) {
    return ImportFile(context, ParseFileCommand(words, "import"));
}

}  // namespace cli
