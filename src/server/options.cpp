#include "server/options.h"

#include <algorithm>

namespace server {

Options::Options(const std::vector<std::string>& words, std::initializer_list<const char*> known) {
    for (size_t i = 0; i < words.size(); i += 2) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0) throw UsageError("unexpected argument '" + word + "'");
        const std::string name = word.substr(2);
        if (std::none_of(known.begin(), known.end(), [&](const char* k) { return name == k; }))
            throw UsageError("unknown option '" + word + "'");
        if (i + 1 >= words.size()) throw UsageError("option '" + word + "' needs a value");
        if (!values_.emplace(name, words[i + 1]).second)
            throw UsageError("option '" + word + "' given twice");
    }
}

std::optional<std::string> Options::Get(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::string Options::Require(const std::string& name) const {
    std::optional<std::string> value = Get(name);
    if (!value) throw UsageError("option --" + name + " is required");
    return *value;
}

}  // namespace server
