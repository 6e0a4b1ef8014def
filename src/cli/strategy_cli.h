#pragma once
// Shared steps of the strategy commands (breed, report, signals, watch):
// opening the store with the stock list, making a stock current, and
// showing GBK text on the terminal.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "datastore/data_center.h"
#include "datastore/local_store.h"
#include "datastore/message_sink.h"

namespace cli {

inline void Print(const std::string& utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stdout); }

// GBK text as UTF-8 with "\r\n" line ends turned into "\n".
std::string ForTerminal(const std::string& gbk);

// The cells joined by tabs and ended by "\n": one row of a table.
std::string TabLine(const std::vector<std::string>& cells);

// Prints "korvel-cli COMMAND: MESSAGE" on stderr.
void PrintFailure(std::string_view command, std::string_view message);

// A sink that prints the core's messages as failures of `command`.
MessageSink FailureSink(std::string_view command);

// The store with the settings and the run parameters loaded; nothing after
// the message (naming the database file) when it cannot be opened.
std::unique_ptr<LocalStore> OpenStore(const Context& context, std::string_view command);

// The store with the settings, the run parameters and the stock list
// loaded into TheDataCenter(); nothing after the message when it cannot be
// opened.
std::unique_ptr<LocalStore> OpenStrategyStore(const Context& context, std::string_view command);

// Makes the stock (market and code as typed, UTF-8) current. False, after
// the message, when its bars cannot be read or there is none.
bool LoadStockWithBars(CDataCenter& dc, const std::string& market, const std::string& code,
                       std::string_view command);

}  // namespace cli
