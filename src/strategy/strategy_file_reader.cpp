#include "strategy/strategy_file_reader.h"

#include <fstream>
#include <pugixml.hpp>
#include <sstream>

#include "text/gbk.h"
#include "text/parse.h"

namespace {

std::string Text(const pugi::xml_node& record, const char* name) { return record.child(name).text().get(); }

int32_t Int(const pugi::xml_node& record, const char* name) {
    return text::ParseInt(record.child(name).text().get());
}

StrategyEntry EntryOf(const pugi::xml_node& record) {
    StrategyEntry e;
    e.version = Int(record, "version");
    e.market = Text(record, "market");
    e.code = Text(record, "code");
    e.name = Text(record, "name");
    e.dbegin = Int(record, "dbegin");
    e.dend = Int(record, "dend");
    e.nums = Int(record, "nums");
    e.length = Int(record, "length");
    e.op = Text(record, "op");
    e.report = Text(record, "report");
    e.tradeLog = Text(record, "tradelog");
    e.dendText = std::to_string(e.dend);
    return e;
}

}  // namespace

std::optional<std::vector<StrategyEntry>> ParseStrategyFile(std::string_view content) {
    pugi::xml_document document;
    // Read as UTF-8, which converts nothing: GBK bytes pass through as they
    // are, and the markup itself is ASCII in both.
    const pugi::xml_parse_result parsed =
        document.load_buffer(content.data(), content.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed || !document.document_element()) return std::nullopt;
    std::vector<StrategyEntry> entries;
    pugi::xpath_node_set records = document.select_nodes("//record");
    records.sort();
    for (const pugi::xpath_node& node : records) {
        StrategyEntry e = EntryOf(node.node());
        if (!e.market.empty() && !e.code.empty()) entries.push_back(std::move(e));
    }
    return entries;
}

std::optional<std::vector<StrategyEntry>> ReadStrategyFile(const std::filesystem::path& path,
                                                           const StrategyFileLog& log) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    if (in) content << in.rdbuf();
    std::optional<std::vector<StrategyEntry>> entries;
    if (in) entries = ParseStrategyFile(content.str());
    if (!entries && log) log(text::Utf8ToGbk("不是操盘策略导出文件，打开文件失败。"));
    return entries;
}
