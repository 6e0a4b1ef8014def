// korvel-cli export FILE [MARKET:CODE ...] and import FILE [MARKET:CODE ...]:
// strategy files (.opx), with the log lines the export and import dialogs
// show, in order, on stdout.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/arguments.h"
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
    std::vector<std::string> stocks;  // MARKET:CODE as typed; none: every strategy
};

// The stocks typed as MARKET:CODE (the parser has checked the form).
std::vector<StockWord> StockWords(const std::vector<std::string>& words) {
    std::vector<StockWord> stocks;
    for (const std::string& word : words) {
        const size_t colon = word.find(':');
        stocks.push_back({text::Utf8ToGbk(word.substr(0, colon)), text::Utf8ToGbk(word.substr(colon + 1)), word});
    }
    return stocks;
}

// Ticks the entries of the named stocks (every version), or all entries
// when none is named; false after naming each stock that has no entry.
bool Select(std::vector<StrategyEntry>& entries, const std::vector<std::string>& words, std::string_view command,
            const char* missing) {
    const std::vector<StockWord> stocks = StockWords(words);
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

// FILE and the optional stocks of both commands.
std::shared_ptr<FileCommand> AddFileArguments(CLI::App& command, const char* fileHelp, const char* stocksHelp) {
    auto parsed = std::make_shared<FileCommand>();
    command.add_option("FILE", parsed->file, fileHelp)->required();
    command.add_option("MARKET:CODE", parsed->stocks, stocksHelp)->check(StockPairValidator());
    return parsed;
}

}  // namespace

Runner SetUpExport(CLI::App& command, const Context& context) {
    const auto parsed = AddFileArguments(command, "the strategy file to write (replaced when it exists)",
                                         "the stocks whose stored strategies to write; without any, all of them");
    return [&context, parsed] { return ExportFile(context, *parsed); };
}

Runner SetUpImport(CLI::App& command, const Context& context) {
    const auto parsed = AddFileArguments(command, "the strategy file to read",
                                         "the stocks whose entries of the file to store; without any, all of them");
    return [&context, parsed] { return ImportFile(context, *parsed); };
}

}  // namespace cli
