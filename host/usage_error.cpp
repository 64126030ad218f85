#include "host/usage_error.h"

#include <CLI/CLI.hpp>

namespace tavrin21::host {

namespace {

// The command that `argv` names, or the program itself when it names none.
const CLI::App* ChosenCommand(const CLI::App& app, int argc, char** argv) {
    for (int index = 1; index < argc; ++index) {
        for (const CLI::App* command : app.get_subcommands({})) {
            if (command->check_name(argv[index])) {
                return command;
            }
        }
    }
    return &app;
}

bool IsKnownOption(const CLI::App& command, const std::string& argument) {
    const std::string name = argument.substr(0, argument.find('='));
    return command.get_option_no_throw(name) != nullptr ||
           (command.get_parent() != nullptr &&
            command.get_parent()->get_option_no_throw(name) != nullptr);
}

}  // namespace

void RefuseEmptyValues(CLI::App& app) {
    const CLI::Validator notEmpty(
        [](const std::string& value) { return value.empty() ? "the value is empty" : ""; }, "");
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        for (CLI::Option* option : command->get_options()) {
            if (option->get_expected_min() > 0) {
                option->check(notEmpty);
            }
        }
    }
}

std::string UsageHint(const CLI::App& app, int argc, char** argv) {
    const CLI::App* command = ChosenCommand(app, argc, argv);
    const std::string name = command == &app ? "" : command->get_name() + " ";
    return "Run 'tavrin21-host " + name + "--help' for the usage.";
}

std::string UsageReason(const CLI::App& app, const CLI::ParseError& error, int argc, char** argv) {
    if (dynamic_cast<const CLI::RequiredError*>(&error) == nullptr) {
        return error.what();
    }
    const CLI::App* command = ChosenCommand(app, argc, argv);
    if (command == &app && argc > 1 && argv[1][0] != '-') {
        return std::string("there is no command ") + argv[1];
    }
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        if (argument.size() > 1 && argument[0] == '-' && !IsKnownOption(*command, argument)) {
            return "The following argument was not expected: " + argument;
        }
    }
    return error.what();
}

}  // namespace tavrin21::host
