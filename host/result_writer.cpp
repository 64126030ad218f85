#include "host/result_writer.h"

#include <algorithm>

#include "host/csv_reader.h"

namespace tavrin21::host {

namespace {

const char* StatusName(std::int32_t status) {
    switch (status) {
        case StatusCalculated:
            return "calculated";
        case StatusFailed:
            return "failed";
        default:
            return "?";
    }
}

struct TableColumn {
    std::vector<std::string> titles;  // one per title line
    std::vector<std::string> cells;
    bool rightAligned = false;
    std::size_t Width() const {
        std::size_t width = 0;
        for (const auto& text : titles) {
            width = std::max(width, text.size());
        }
        for (const auto& text : cells) {
            width = std::max(width, text.size());
        }
        return width;
    }
};

TableColumn OwnColumn(const std::string& title,
                      const std::vector<ItemResult>& results,
                      std::size_t titleLines,
                      bool rightAligned,
                      std::string (*cell)(const ItemResult&)) {
    TableColumn column;
    column.titles.assign(std::max<std::size_t>(titleLines, 1), "");
    column.titles.front() = title;
    column.rightAligned = rightAligned;
    for (const ItemResult& result : results) {
        column.cells.push_back(cell(result));
    }
    return column;
}

std::string Padded(const std::string& text, std::size_t width, bool right) {
    const std::string padding(width > text.size() ? width - text.size() : 0, ' ');
    return right ? padding + text : text + padding;
}

void WriteLine(std::ostream& out,
               const std::vector<TableColumn>& columns,
               const std::vector<std::string>& texts) {
    std::string line;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        line += (i > 0 ? "  " : "") + Padded(texts[i], columns[i].Width(), columns[i].rightAligned);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
}

}  // namespace

void WriteCsv(std::ostream& out, const std::vector<ItemResult>& results) {
    out << "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode,Status,Message,ResultRate,"
           "ResultScale\n";
    for (const ItemResult& r : results) {
        out << CsvField(r.input.partNumber) << ',' << int(r.input.environmentCode) << ','
            << SingleText(r.input.temperature) << ',' << int(r.input.methodCode) << ','
            << int(r.input.mode) << ',' << r.status << ',' << CsvField(r.message) << ','
            << SingleText(r.resultRate) << ',' << SingleText(r.resultScale) << '\n';
    }
}

void WriteTable(std::ostream& out, const std::vector<ItemResult>& results, const ModuleColumns& module) {
    const std::size_t titleLines = std::max(1, module.TitleLineCount());
    std::vector<TableColumn> columns;
    columns.push_back(OwnColumn("PartNumber", results, titleLines, false,
                                [](const ItemResult& r) { return r.input.partNumber; }));
    if (module.Columns().empty()) {
        columns.push_back(OwnColumn("Env", results, titleLines, false, [](const ItemResult& r) {
            return std::to_string(r.input.environmentCode);
        }));
        columns.push_back(OwnColumn("Temperature", results, titleLines, true,
                                    [](const ItemResult& r) { return SingleText(r.input.temperature); }));
    }
    for (std::size_t c = 0; c < module.Columns().size(); ++c) {
        TableColumn column;
        column.titles = module.Columns()[c].titleLines;
        column.titles.resize(titleLines);
        for (const ItemResult& result : results) {
            column.cells.push_back(c < result.moduleFields.size() ? result.moduleFields[c] : "");
        }
        columns.push_back(std::move(column));
    }
    columns.push_back(OwnColumn("Method", results, titleLines, true, [](const ItemResult& r) {
        return std::to_string(r.input.methodCode);
    }));
    columns.push_back(OwnColumn("Mode", results, titleLines, true, [](const ItemResult& r) {
        return std::to_string(r.input.mode);
    }));
    columns.push_back(OwnColumn("Status", results, titleLines, false, [](const ItemResult& r) {
        return std::string(StatusName(r.status));
    }));
    columns.push_back(OwnColumn("ResultRate", results, titleLines, true,
                                [](const ItemResult& r) { return SingleText(r.resultRate); }));
    columns.push_back(OwnColumn("ResultScale", results, titleLines, true,
                                [](const ItemResult& r) { return SingleText(r.resultScale); }));
    columns.push_back(OwnColumn("Message", results, titleLines, false,
                                [](const ItemResult& r) { return r.message; }));

    for (std::size_t line = 0; line < titleLines; ++line) {
        std::vector<std::string> texts;
        for (const TableColumn& column : columns) {
            texts.push_back(column.titles[line]);
        }
        WriteLine(out, columns, texts);
    }
    std::vector<std::string> rules;
    for (const TableColumn& column : columns) {
        rules.emplace_back(column.Width(), '-');
    }
    WriteLine(out, columns, rules);
    for (std::size_t row = 0; row < results.size(); ++row) {
        std::vector<std::string> texts;
        for (const TableColumn& column : columns) {
            texts.push_back(column.cells[row]);
        }
        WriteLine(out, columns, texts);
    }
}

}  // namespace tavrin21::host
