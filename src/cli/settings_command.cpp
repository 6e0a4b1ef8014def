// korvel-cli settings: every known setting with its stored value, range and
// meaning. settings set NAME VALUE: store one setting after checking it, as
// start-up's reading would hide a bad value behind its fallback.
#include <memory>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "datastore/local_store.h"
#include "datastore/setting_rules.h"
#include "datastore/settings.h"
#include "datastore/write_failure.h"
#include "text/gbk.h"

namespace cli {
namespace {

constexpr const char* kSettingsCommand = "settings";

int RunSettingsSet(const Context& context, const std::string& name, const std::string& value) {
    const std::string gbkValue = text::Utf8ToGbk(value);
    const std::string problem = SettingProblem(text::Utf8ToGbk(name), gbkValue);
    if (!problem.empty()) throw UsageError(text::GbkToUtf8(problem));
    const auto store = OpenStore(context, kSettingsCommand);
    if (!store) return 1;
    if (!StoreSetting(store->database, name, gbkValue)) {
        PrintFailure(kSettingsCommand, name + " not stored: " + ForTerminal(FailedWrite(store->database).text));
        return 1;
    }
    return 0;
}

// Start-up's reading adds empty entries for missing settings; APPSET is
// read afresh to show what is stored ("-" for a setting without a row).
int RunSettingsList(const Context& context) {
    const auto store = OpenStore(context, kSettingsCommand);
    if (!store) return 1;
    SettingsMap stored;
    if (!LoadSettings(store->database, stored, FailureSink(kSettingsCommand))) return 1;
    std::string out = "setting\tvalue\trange\tmeaning\n";
    for (const SettingRule& rule : SettingRules()) {
        const auto it = stored.find(rule.name);
        const std::string value = it == stored.end() ? "-" : text::GbkToUtf8(it->second);
        out += std::string(rule.name) + "\t" + value + "\t" + SettingRangeText(rule) + "\t" + rule.meaning + "\n";
    }
    for (const auto& [item, value] : stored)
        if (FindSettingRule(item) == nullptr) out += text::GbkToUtf8(item + "\t" + value) + "\t-\tnot used\n";
    Print(out);
    return 0;
}

std::string KnownSettingsText() {
    std::string text = "Settings:\n";
    for (const SettingRule& rule : SettingRules())
        text += "  " + std::string(rule.name) + " (" + SettingRangeText(rule) + "): " + rule.meaning + "\n";
    return text;
}

}  // namespace

Runner SetUpSettings(CLI::App& command, const Context& context) {
    struct Set {
        std::string name, value;
    };
    auto set = std::make_shared<Set>();
    CLI::App* setCommand = command.add_subcommand("set", "store one setting after checking its value");
    setCommand->add_option("NAME", set->name, "setting name")->required();
    setCommand->add_option("VALUE", set->value, "the new value")->required();
    setCommand->footer(KnownSettingsText());
    return [&context, set, setCommand] {
        return setCommand->parsed() ? RunSettingsSet(context, set->name, set->value) : RunSettingsList(context);
    };
}

}  // namespace cli
