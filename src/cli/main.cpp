// korvel-cli: every user job of Korvel from a terminal or a script. The
// command line is parsed by CLI11: one subcommand per command, --dir
// accepted anywhere, COMMAND --help for every command.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"

namespace {

constexpr const char* kFooter =
    "Exit status: 0 success, 1 the operation failed (message on stderr), 2 usage error.\n"
    "Run 'korvel-cli COMMAND --help' for the arguments of a command.";

struct Parsed {
    cli::Context context;
    std::unique_ptr<CLI::App> app;
    std::vector<std::pair<CLI::App*, cli::Runner>> runners;
    std::string helpTopic;  // the command named by "help COMMAND"
};

void AddHelpCommand(Parsed& p) {
    CLI::App* help = p.app->add_subcommand("help", "show this help, or the help of one command");
    help->add_option("COMMAND", p.helpTopic, "a command name");
}

void SetUp(Parsed& p) {
    p.app = std::make_unique<CLI::App>("Korvel from a terminal: every user job on the local database.", "korvel-cli");
    CLI::App& app = *p.app;
    app.add_option("--dir", p.context.dir, "working directory holding the database (default: the current directory)")
        ->type_name("DIR");
    // Subcommands inherit this: an option they do not know (--dir) goes to
    // the parent, so --dir may stand anywhere on the line.
    app.fallthrough();
    app.require_subcommand(1);
    app.get_formatter()->column_width(24);
    AddHelpCommand(p);
    for (size_t i = 0; i < cli::kCommandCount; ++i) {
        const cli::Command& c = cli::kCommands[i];
        CLI::App* command = app.add_subcommand(c.name, c.summary);
        p.runners.emplace_back(command, c.setUp(*command, p.context));
    }
    app.footer(kFooter);  // after the commands, which would inherit it
}

// The innermost command the parse reached, or the program itself.
const CLI::App* Innermost(const CLI::App& app) {
    const CLI::App* at = &app;
    for (;;) {
        const std::vector<CLI::App*> parsed = at->get_subcommands();
        if (parsed.empty()) return at;
        at = parsed.front();
    }
}

// The words naming `command`, e.g. "watch add".
std::string CommandPath(const CLI::App* command) {
    std::string path;
    for (; command != nullptr && command->get_parent() != nullptr; command = command->get_parent())
        path = command->get_name() + (path.empty() ? "" : " " + path);
    return path;
}

int ReportUsageError(const CLI::App& app, const std::string& message) {
    const CLI::App* at = Innermost(app);
    if (at == &app) {
        std::fprintf(stderr, "korvel-cli: %s (see korvel-cli --help)\n", message.c_str());
        return 2;
    }
    const std::string path = CommandPath(at);
    std::fprintf(stderr, "korvel-cli %s: %s\nRun 'korvel-cli %s --help' for its arguments.\n", path.c_str(),
                 message.c_str(), path.c_str());
    return 2;
}

int ShowHelp(const Parsed& p) {
    if (p.helpTopic.empty()) {
        std::fputs(p.app->help().c_str(), stdout);
        return 0;
    }
    for (const auto& [command, runner] : p.runners) {
        if (command->get_name() == p.helpTopic) {
            std::fputs(command->help(p.app->get_name()).c_str(), stdout);
            return 0;
        }
    }
    std::fprintf(stderr, "korvel-cli help: unknown command '%s' (see korvel-cli --help)\n", p.helpTopic.c_str());
    return 2;
}

int Run(Parsed& p) {
    if (p.app->got_subcommand("help")) return ShowHelp(p);
    for (const auto& [command, runner] : p.runners) {
        if (!command->parsed()) continue;
        try {
            return runner();
        } catch (const cli::UsageError& e) {
            return ReportUsageError(*p.app, e.what());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "korvel-cli %s: %s\n", command->get_name().c_str(), e.what());
            return 1;
        }
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Parsed p;
    SetUp(p);
    try {
        p.app->parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        // The help of the command that asked for it.
        std::fputs(p.app->help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        std::fputs(p.app->help("", CLI::AppFormatMode::All).c_str(), stdout);
        return 0;
    } catch (const CLI::ParseError& e) {
        if (argc == 1) {
            std::fprintf(stderr, "korvel-cli: no command given\n\n%s", p.app->help().c_str());
            return 2;
        }
        const std::vector<std::string> extra = p.app->remaining();
        if (Innermost(*p.app) == p.app.get() && !extra.empty()) {
            std::fprintf(stderr, "korvel-cli: unknown command '%s' (see korvel-cli --help)\n", extra.front().c_str());
            return 2;
        }
        return ReportUsageError(*p.app, e.what());
    }
    return Run(p);
}
