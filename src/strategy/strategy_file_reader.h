#pragma once
// Reading strategy files (.opx): every element <record> anywhere in the
// document gives one entry from its child elements "version", "market",
// "code", "name", "dbegin", "dend", "nums", "length", "op", "report" and
// "tradelog" (numbers as leading integers; report and tradelog stay base64
// until an entry is stored). A missing child reads as empty text; a record
// without a market or a code cannot be stored and is left out. Any
// well-formed file is read, escaped or not; its bytes are kept as they are
// (GBK).
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "strategy/strategy_entry.h"

// The entries of a file's content, in document order, none selected;
// nothing when it is not well-formed XML.
std::optional<std::vector<StrategyEntry>> ParseStrategyFile(std::string_view content);

// The same for the file at `path`; nothing after logging
// "不是操盘策略导出文件，打开文件失败。" when it cannot be read or parsed.
std::optional<std::vector<StrategyEntry>> ReadStrategyFile(const std::filesystem::path& path,
                                                           const StrategyFileLog& log);
