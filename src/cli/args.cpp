#include "cli/args.h"

#include <cerrno>
#include <cstdlib>

namespace cli {

std::optional<std::string> Args::Get(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

std::optional<long long> Args::GetInt(const std::string& name) const {
    const auto value = Get(name);
    if (!value) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(value->c_str(), &end, 10);
    if (value->empty() || *end != '\0' || errno == ERANGE)
        throw UsageError("--" + name + " needs an integer, not '" + *value + "'");
    return n;
}

Args ParseArgs(const std::vector<std::string>& words, const std::set<std::string>& valued,
               const std::set<std::string>& flags) {
    Args args;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0 || word.size() == 2) {
            args.positional.push_back(word);
            continue;
        }
        const std::string name = word.substr(2);
        if (flags.count(name)) {
            args.options[name] = "";
        } else if (valued.count(name)) {
            if (i + 1 >= words.size()) throw UsageError(word + " needs a value");
            args.options[name] = words[++i];
        } else {
            throw UsageError("unknown option " + word);
        }
    }
    return args;
}

}  // namespace cli
