#include "strategy/strategy_file_writer.h"

#include <cstdio>
#include <memory>

#include "strategy/trade_log_script.h"
#include "text/base64.h"
#include "text/format.h"
#include "text/gbk.h"

namespace {

// Element text: the three characters markup gives a meaning to. GBK trail
// bytes start at 0x40, so none of them is ever part of a Chinese character.
std::string Escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Element(const char* name, const std::string& text) {
    return text::Format("    <%s>", name) + text + text::Format("</%s>\r\n", name);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool Write(std::FILE* file, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

void Log(const StrategyFileLog& log, const char* utf8) {
    if (log) log(text::Utf8ToGbk(utf8));
}

}  // namespace

std::string StrategyFileHead() { return "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<root>\r\n"; }

std::string StrategyFileTail() { return "</root>"; }

std::string StrategyRecordXml(const StrategyEntry& e, const std::string& tradeLogScript) {
    return "  <record>\r\n" + Element("version", std::to_string(e.version)) + Element("market", Escaped(e.market)) +
           Element("code", Escaped(e.code)) + Element("name", Escaped(e.name)) +
           Element("dbegin", std::to_string(e.dbegin)) + Element("dend", std::to_string(e.dend)) +
           Element("nums", std::to_string(e.nums)) + Element("length", std::to_string(e.length)) +
           Element("op", Escaped(e.op)) + Element("report", text::Base64Encode(e.report)) +
           Element("tradelog", text::Base64Encode(tradeLogScript)) + "  </record>\r\n";
}

bool ExportStrategies(Database& db, const std::vector<StrategyEntry>& entries, const std::filesystem::path& path,
                      const StrategyFileLog& log) {
    std::vector<const StrategyEntry*> selected;
    for (const StrategyEntry& e : entries)
        if (e.selected) selected.push_back(&e);
    if (selected.empty()) {
        Log(log, "请先选择需要导出操盘策略的股票。");
        return false;
    }
    const File file(std::fopen(path.c_str(), "w+b"));
    if (!file) {
        Log(log, "无法创建文件，请先设置正确的文件路径。");
        return false;
    }
    Log(log, "开始导出操盘策略到文件...");
    static const std::string kExporting = text::Utf8ToGbk("正在导出操盘策略：");
    bool written = Write(file.get(), StrategyFileHead());
    for (const StrategyEntry* e : selected) {
        if (log) log(kExporting + e->code + " " + e->name);
        written = written && Write(file.get(), StrategyRecordXml(*e, BuildTradeLogScript(db, e->market, e->code,
                                                                                         e->version)));
    }
    written = written && Write(file.get(), StrategyFileTail()) && std::fflush(file.get()) == 0;
    if (!written) {
        Log(log, "写入文件出错，导出未完成。");
        return false;
    }
    Log(log, "成功完成导出操盘策略到文件。");
    return true;
}
