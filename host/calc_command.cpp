#include "host/calc_command.h"

#include "framework/connect_items.h"
#include "framework/platform/dynamic_library.h"
#include "host/connection.h"
#include "host/csv_reader.h"
#include "host/install_layout.h"
#include "host/item_calculation.h"
#include "host/module_api.h"
#include "host/module_columns.h"
#include "host/progress_meter.h"
#include "host/result_output.h"
#include "host/result_writer.h"
#include "host/terminal_text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

namespace tavrin21::host {

namespace {

constexpr std::size_t kFatalMessageBytes = 1000;

struct BatchState {
    bool badRows = false;
    bool databaseErrors = false;
    std::string unreachableRole;  // once set, no item is calculated any more
};

std::ifstream OpenItems(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw std::runtime_error("cannot read the items file " + Printable(path) +
                                 ": it is a folder");
    }
    std::ifstream items(path, std::ios::binary);
    if (!items) {
        const int error = errno;
        throw std::runtime_error("cannot open the items file " + Printable(path) + ": " +
                                 std::strerror(error));
    }
    return items;
}

ItemColumns ReadHeader(CsvReader& reader, const std::string& itemsPath, std::ostream& err) {
    const auto header = reader.Next();
    if (!header) {
        throw std::runtime_error(Printable(itemsPath) +
                                 ": the file is empty; it needs the header "
                                 "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode");
    }
    const std::string place = Printable(itemsPath) + ":" + std::to_string(header->line) + ": ";
    try {
        ItemColumns columns(header->fields);
        if (!columns.IgnoredColumns().empty()) {
            err << place << "ignoring the column"
                << (columns.IgnoredColumns().size() > 1 ? "s" : "");
            const char* separator = " ";
            for (const std::string& name : columns.IgnoredColumns()) {
                err << separator << '"' << Printable(name) << '"';
                separator = ", ";
            }
            err << '\n';
        }
        return columns;
    } catch (const std::exception& error) {
        throw std::runtime_error(place + Printable(error.what()));
    }
}

// One item: calculated (or not, once a library is unreachable), its errors reported.
ItemResult ProcessItem(ItemCalculator& calculator,
                       const ItemInput& input,
                       const std::string& place,
                       BatchState& state,
                       std::ostream& err) {
    if (!state.unreachableRole.empty()) {
        return calculator.NotCalculated(input, state.unreachableRole);
    }
    ItemOutcome outcome = calculator.Calculate(input);
    for (const ItemError& error : outcome.beforeReconnecting) {
        err << place << Printable(error.reason) << '\n';
    }
    if (!outcome.unreachableRole.empty()) {
        err << place << "the " << outcome.unreachableRole
            << " library is unreachable; this and the remaining items are not calculated\n";
        state.unreachableRole = outcome.unreachableRole;
        state.databaseErrors = true;
        return std::move(outcome.result);
    }
    if (!outcome.beforeReconnecting.empty()) {
        err << place << "reconnected; the item was calculated again\n";
    }
    for (const ItemError& error : outcome.errors) {
        err << place << Printable(error.reason) << '\n';
    }
    state.databaseErrors = state.databaseErrors || !outcome.errors.empty();
    return std::move(outcome.result);
}

// Reads the items file and writes each good row's result as it is calculated; bad rows are
// reported and skipped.
BatchState CalculateItems(std::istream& items,
                          const std::string& itemsPath,
                          ItemCalculator& calculator,
                          ResultWriter& writer,
                          ResultOutput& output,
                          ProgressMeter& progress) {
    std::ostream& err = progress.Errors();
    const std::string shownPath = Printable(itemsPath);
    CsvReader reader(items);
    const ItemColumns itemColumns = ReadHeader(reader, itemsPath, err);
    writer.WriteHeader();
    output.Flush();

    BatchState state;
    for (;;) {
        std::optional<CsvRecord> row;
        try {
            row = reader.Next();
        } catch (const CsvError& error) {
            err << shownPath << ':' << error.Line() << ": " << error.what() << '\n';
            state.badRows = true;
            continue;
        }
        if (!row) {
            break;
        }
        auto parsed = itemColumns.Parse(row->fields);
        if (auto* reason = std::get_if<std::string>(&parsed)) {
            err << shownPath << ':' << row->line << ": " << Printable(*reason) << '\n';
            state.badRows = true;
            continue;
        }
        ItemInput& input = std::get<ItemInput>(parsed);
        input.line = row->line;
        const std::string place = shownPath + ":" + std::to_string(row->line) + ": part " +
                                  Printable(input.partNumber) + ": ";
        writer.Write(ProcessItem(calculator, input, place, state, err));
        output.Flush();
        progress.ItemDone([&] {
            const auto position = items.tellg();
            return position < 0 ? std::uintmax_t{0} : static_cast<std::uintmax_t>(position);
        });
    }
    progress.Finish();
    if (items.bad()) {
        throw std::runtime_error("cannot read the items file " + shownPath + ": " +
                                 std::strerror(errno));
    }
    return state;
}

}  // namespace

std::string DefaultLibraryPath() {
    return InstalledLibraryPath();
}

int RunCalc(const CalcOptions& options, std::ostream& out, std::ostream& err) {
    BatchState state;
    try {
        std::ifstream items = OpenItems(options.itemsPath);
        const ModuleApi module(options.modulePath.empty() ? DefaultModulePath()
                                                          : options.modulePath);
        const ModuleColumns columns(module.viewFields);
        Connections connections = OpenConnections(options.primary, options.secondary);
        ResultOutput output(out, options.outputPath);
        const auto writer =
            MakeResultWriter(options.format, output.Stream(), columns,
                             options.outputIsTerminal && options.outputPath.empty());
        ItemCalculator calculator(module, columns, connections, options.reconnectPause);
        std::error_code unknownSize;
        const std::uintmax_t itemsBytes =
            std::filesystem::file_size(options.itemsPath, unknownSize);
        // Results on the terminal show the progress themselves, and a redrawn line would break
        // them.
        const bool resultsOnTerminal = options.outputIsTerminal && options.outputPath.empty();
        ProgressMeter progress(err, options.errorsAreTerminal && !resultsOnTerminal,
                               unknownSize ? 0 : itemsBytes);
        state = CalculateItems(items, options.itemsPath, calculator, *writer, output, progress);
        output.Complete();
    } catch (const std::exception& error) {
        err << "tavrin21-host: "
            << Printable(framework::RedactPassword(error.what()), kFatalMessageBytes) << '\n';
        return kExitFatal;
    }
    if (state.databaseErrors) {
        return kExitDatabaseErrors;
    }
    return state.badRows ? kExitBadRows : kExitOk;
}

int RunColumns(const std::string& modulePath, std::ostream& out, std::ostream& err) {
    try {
        const ModuleApi module(modulePath.empty() ? DefaultModulePath() : modulePath);
        const ModuleColumns columns(module.viewFields);
        if (columns.Columns().empty()) {
            out << "The module shows no columns of its own.\n";
            return kExitOk;
        }
        for (const ModuleColumn& column : columns.Columns()) {
            out << "field " << column.field << ": length " << column.length;
            for (std::size_t line = 0; line < column.titleLines.size(); ++line) {
                out << ", title line " << line + 1 << " \"" << column.titleLines[line] << '"';
            }
            out << '\n';
        }
        out.flush();
        if (!out) {
            throw std::runtime_error("cannot write to standard output");
        }
    } catch (const std::exception& error) {
        err << "tavrin21-host: " << error.what() << '\n';
        return kExitFatal;
    }
    return kExitOk;
}

}  // namespace tavrin21::host
