#pragma once
// The "--name value" options of one korvel-server command.
#include <initializer_list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace server {

// A command line the command cannot use; main prints it with the usage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Options {
public:
    // Every option takes a value. Throws UsageError for an option not in
    // `known`, a missing value, a repeated option or a word that is not an
    // option.
    Options(const std::vector<std::string>& words, std::initializer_list<const char*> known);

    std::optional<std::string> Get(const std::string& name) const;
    // Throws UsageError when the option is absent.
    std::string Require(const std::string& name) const;

private:
    std::map<std::string, std::string> values_;
};

}  // namespace server
