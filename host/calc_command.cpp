#include "host/calc_command.h"

#include <fstream>
#include <memory>
#include <ostream>

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/message_box.h"
#include "framework/platform/dynamic_library.h"
#include "host/connection.h"
#include "host/csv_reader.h"
#include "host/item_result.h"
#include "host/module_api.h"
#include "host/module_columns.h"
#include "host/result_writer.h"

namespace tavrin21::host {

namespace {

struct Connections {
    std::unique_ptr<framework::Database> primary;
    std::unique_ptr<framework::Database> secondary;  // null: the primary serves as both
    framework::Database* Secondary() const { return secondary ? secondary.get() : primary.get(); }
};

std::unique_ptr<framework::Database> OpenConnection(const std::string& role, const std::string& source) {
    auto database = std::make_unique<framework::Database>();
    try {
        database->Open(ConnectStringFor(source));
    } catch (const framework::DbException& error) {
        throw std::runtime_error("cannot open the " + role + " connection " +
                                 framework::RedactPassword(source) + ": " + error.ErrorText());
    }
    return database;
}

Connections OpenConnections(const CalcOptions& options) {
    Connections connections;
    const std::string primary = options.primary.empty() ? DefaultLibraryPath() : options.primary;
    connections.primary = OpenConnection("primary", primary);
    if (!options.secondary.empty() && options.secondary != primary) {
        connections.secondary = OpenConnection("secondary", options.secondary);
    }
    return connections;
}

ItemResult Calculate(const ModuleApi& module,
                     const ModuleColumns& columns,
                     const Connections& connections,
                     const ItemInput& input) {
    ItemRecord record = MakeItemRecord(input);
    char message[kMessageBufferBytes + 1] = {};
    ItemResult result;
    result.input = input;
    result.status = module.calcItem(message, &record, connections.primary.get(),
                                    connections.Secondary(), input.mode);
    result.message = CleanMessage(message);
    result.resultRate = record.ResultRate;
    result.resultScale = record.ResultScale;
    result.moduleFields = columns.Render(record);
    return result;
}

// Reads the items file, calculating each good row; bad rows are reported and skipped.
// Returns whether every row was an item.
bool CalculateItems(std::istream& items,
                    const std::string& itemsPath,
                    const ModuleApi& module,
                    const ModuleColumns& columns,
                    const Connections& connections,
                    std::vector<ItemResult>& results,
                    std::ostream& err) {
    CsvReader reader(items);
    const auto header = reader.Next();
    if (!header) {
        throw std::runtime_error(itemsPath + ": the file is empty; it needs the header "
                                 "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode");
    }
    ItemColumns itemColumns = [&] {
        try {
            return ItemColumns(header->fields);
        } catch (const std::exception& error) {
            throw std::runtime_error(itemsPath + ":" + std::to_string(header->line) + ": " + error.what());
        }
    }();

    bool allRowsGood = true;
    for (;;) {
        std::optional<CsvRecord> row;
        try {
            row = reader.Next();
        } catch (const CsvError& error) {
            err << itemsPath << ':' << error.Line() << ": " << error.what() << '\n';
            allRowsGood = false;
            continue;
        }
        if (!row) {
            break;
        }
        auto parsed = itemColumns.Parse(row->fields);
        if (auto* reason = std::get_if<std::string>(&parsed)) {
            err << itemsPath << ':' << row->line << ": " << *reason << '\n';
            allRowsGood = false;
            continue;
        }
        const ItemInput& input = std::get<ItemInput>(parsed);
        // Message boxes raised while this item is calculated name the item.
        framework::ScopedMessageSink sink([&](const std::string& text, unsigned, unsigned) {
            std::string line = text;
            std::replace(line.begin(), line.end(), '\n', ' ');
            err << itemsPath << ':' << row->line << ": part " << input.partNumber << ": " << line << '\n';
            return framework::kIdOk;
        });
        results.push_back(Calculate(module, columns, connections, input));
    }
    return allRowsGood;
}

}  // namespace

std::string DefaultLibraryPath() { return framework::ProgramDirectory() + "/library.sqlite"; }

int RunCalc(const CalcOptions& options, std::ostream& out, std::ostream& err) {
    std::vector<ItemResult> results;
    bool allRowsGood = true;
    try {
        std::ifstream items(options.itemsPath, std::ios::binary);
        if (!items) {
            throw std::runtime_error("cannot open the items file " + options.itemsPath);
        }
        const ModuleApi module(options.modulePath.empty() ? DefaultModulePath() : options.modulePath);
        const ModuleColumns columns(module.viewFields);
        const Connections connections = OpenConnections(options);
        allRowsGood = CalculateItems(items, options.itemsPath, module, columns, connections, results, err);
        if (options.format == "csv") {
            WriteCsv(out, results);
        } else {
            WriteTable(out, results, columns);
        }
    } catch (const std::exception& error) {
        err << "tavrin21-host: " << error.what() << '\n';
        return kExitFatal;
    }
    return allRowsGood ? kExitOk : kExitBadRows;
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
    } catch (const std::exception& error) {
        err << "tavrin21-host: " << error.what() << '\n';
        return kExitFatal;
    }
    return kExitOk;
}

}  // namespace tavrin21::host
