#pragma once
// Command-line words of one korvel-cli command: positional words in order and
// "--name value" / "--flag" options. Options a command does not know are a
// usage error, reported by the command.
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // flags map to ""

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::optional<std::string> Get(const std::string& name) const;
    // An integer option; throws UsageError when present but not a number.
    std::optional<long long> GetInt(const std::string& name) const;
};

// Splits `words`. `valued` names the options that take a value, `flags` the
// ones that do not; anything else starting with "--" is a UsageError.
Args ParseArgs(const std::vector<std::string>& words, const std::set<std::string>& valued,
               const std::set<std::string>& flags = {});

}  // namespace cli
