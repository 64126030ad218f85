#include "host/program_info.h"

#include "framework/platform/module_version.h"
#include "host/module_api.h"

#include <map>

#include <CLI/CLI.hpp>

namespace tavrin21::host {

namespace {

std::string Dotted(const std::array<std::uint16_t, 4>& numbers) {
    std::string text;
    for (const std::uint16_t number : numbers) {
        text += (text.empty() ? "" : ".") + std::to_string(number);
    }
    return text;
}

// Examples for the commands whose footer has none.
const std::map<std::string, std::string> kExamples = {
    {"calc", "Example:\n  tavrin21-host calc --items examples/items.csv --format csv"},
    {"columns", "Example:\n  tavrin21-host columns"},
    {"fit", "Example:\n  tavrin21-host fit --part FAN-0412 --env GB --plot fan.svg"},
};

}  // namespace

std::string VersionText(const std::string& modulePath) {
    std::string text = "tavrin21-host " TAVRIN21_VERSION "\n";
    const auto version = framework::ReadModuleVersion(modulePath);
    if (!version) {
        return text + "module: no version block readable in " + modulePath;
    }
    return text + "module " + Dotted(version->fileVersion) + " (" + modulePath + ")";
}

void AddVersionFlag(CLI::App& app) {
    app.set_version_flag(
        "--version", [] { return VersionText(DefaultModulePath()); },
        "Print the program's and the module's version and exit");
}

void FinishHelp(CLI::App& app) {
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        for (CLI::Option* option : command->get_options()) {
            // A flag's default (false) says nothing.
            if (option->get_expected_min() > 0) {
                option->capture_default_str();
            }
        }
        const auto example = kExamples.find(command->get_name());
        const std::string footer = command->get_footer();
        if (example != kExamples.end() && footer.find("Example") == std::string::npos) {
            command->footer(footer.empty() ? example->second : example->second + "\n\n" + footer);
        }
    }
    const std::string footer = app.get_footer();
    const std::string commandHelp =
        "Run tavrin21-host COMMAND --help for a command's options and an example.";
    app.footer(footer.empty() ? commandHelp : commandHelp + "\n\n" + footer);
}

}  // namespace tavrin21::host
