#include "host/calc_command.h"

#include "framework/connect_items.h"
#include "framework/platform/dynamic_library.h"
#include "host/connection.h"
#include "host/csv_input.h"
#include "host/csv_reader.h"
#include "host/install_layout.h"
#include "host/item_calculation.h"
#include "host/module_api.h"
#include "host/module_columns.h"
#include "host/progress_meter.h"
#include "host/result_output.h"
#include "host/result_writer.h"
#include "host/table_prefetch.h"
#include "host/terminal_text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <istream>
#include <ostream>
#include <vector>

namespace tavrin21::host {

namespace {

constexpr std::size_t kFatalMessageBytes = 1000;

struct BatchState {
    bool badRows = false;
    bool databaseErrors = false;
    std::string unreachableRole;  // once set, no item is calculated any more
};

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

// A row of the items file as read ahead of its calculation.
struct ReadRow {
    std::optional<ItemInput> item;  // none: the row is not an item
    std::string badRowMessage;      // then why, with its place
    std::uintmax_t bytesRead = 0;   // of the items file once the row was read, when counted
};

// The next rows of the items file: at least one unless the file ends, at most `count`, and
// past the first only those already at hand, so that items fed slowly through a pipe are
// calculated as they come. `countBytes`: note the items file's position after each row, which
// costs a system call a row.
std::vector<ReadRow> ReadRows(CsvReader& reader,
                              std::istream& items,
                              const ItemColumns& itemColumns,
                              const std::string& shownPath,
                              std::size_t count,
                              bool countBytes) {
    std::vector<ReadRow> rows;
    while (rows.size() < std::max<std::size_t>(count, 1) &&
           (rows.empty() || items.rdbuf()->in_avail() > 0)) {
        ReadRow row;
        std::optional<CsvRecord> record;
        try {
            record = reader.Next();
        } catch (const CsvError& error) {
            row.badRowMessage =
                shownPath + ":" + std::to_string(error.Line()) + ": " + error.what();
            rows.push_back(std::move(row));
            continue;
        }
        if (!record) {
            break;
        }
        auto parsed = itemColumns.Parse(record->fields);
        if (auto* reason = std::get_if<std::string>(&parsed)) {
            row.badRowMessage =
                shownPath + ":" + std::to_string(record->line) + ": " + Printable(*reason);
        } else {
            row.item = std::move(std::get<ItemInput>(parsed));
            row.item->line = record->line;
            const auto position = countBytes ? items.tellg() : std::streampos(-1);
            row.bytesRead = position < 0 ? 0 : static_cast<std::uintmax_t>(position);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void PrefetchTables(TablePrefetch& prefetch, const std::vector<ReadRow>& rows) {
    std::vector<const ItemInput*> items;
    for (const ReadRow& row : rows) {
        if (row.item) {
            items.push_back(&*row.item);
        }
    }
    prefetch.Prefetch(items);
}

// Reads the items file and writes each good row's result as it is calculated; bad rows are
// reported and skipped. Reads `lookahead` rows at a time, and the failure-rate tables of their
// items with them.
BatchState CalculateItems(std::istream& items,
                          const std::string& itemsPath,
                          ItemCalculator& calculator,
                          TablePrefetch& prefetch,
                          std::size_t lookahead,
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
    const bool readTablesAhead = lookahead > 0 && prefetch.Available();
    for (;;) {
        const std::vector<ReadRow> rows =
            ReadRows(reader, items, itemColumns, shownPath, lookahead, progress.Enabled());
        if (rows.empty()) {
            break;
        }
        if (readTablesAhead && state.unreachableRole.empty()) {
            PrefetchTables(prefetch, rows);
        }
        for (const ReadRow& row : rows) {
            if (!row.item) {
                err << row.badRowMessage << '\n';
                state.badRows = true;
                continue;
            }
            const ItemInput& input = *row.item;
            const std::string place = shownPath + ":" + std::to_string(input.line) + ": part " +
                                      Printable(input.partNumber) + ": ";
            writer.Write(ProcessItem(calculator, input, place, state, err));
            output.Flush();
            progress.ItemDone([&] { return row.bytesRead; });
        }
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
        CsvInput items(options.itemsPath, options.standardInput, "the items file");
        const std::string modulePath =
            options.modulePath.empty() ? DefaultModulePath() : options.modulePath;
        const ModuleApi module(modulePath);
        const ModuleColumns columns(module.viewFields);
        Connections connections = OpenConnections(options.primary, options.secondary);
        ResultOutput output(out, options.outputPath);
        const auto writer =
            MakeResultWriter(options.format, output.Stream(), columns,
                             options.outputIsTerminal && options.outputPath.empty());
        // Declared after the connections: it forgets what it read ahead before they close.
        TablePrefetch prefetch(modulePath, connections);
        ItemCalculator calculator(module, columns, connections, options.reconnectPause, &prefetch);
        std::error_code unknownSize;
        const std::uintmax_t itemsBytes =
            items.IsStandardInput() ? 0
                                    : std::filesystem::file_size(options.itemsPath, unknownSize);
        // Results on the terminal show the progress themselves, and a redrawn line would break
        // them.
        const bool resultsOnTerminal = options.outputIsTerminal && options.outputPath.empty();
        ProgressMeter progress(err, options.errorsAreTerminal && !resultsOnTerminal,
                               unknownSize ? 0 : itemsBytes);
        state = CalculateItems(items.Stream(), items.Name(), calculator, prefetch,
                               options.lookahead, *writer, output, progress);
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
