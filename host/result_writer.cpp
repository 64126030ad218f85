#include "host/result_writer.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "host/csv_reader.h"
#include "host/terminal_text.h"

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

class CsvWriter : public ResultWriter {
public:
    CsvWriter(std::ostream& out, bool toTerminal) : out_(out), toTerminal_(toTerminal) {}

    void WriteHeader() override {
        out_ << "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode,Status,Message,ResultRate,"
                "ResultScale\n";
    }

    void Write(const ItemResult& r) override {
        out_ << Field(r.input.partNumber) << ',' << int(r.input.environmentCode) << ','
             << SingleText(r.input.temperature) << ',' << int(r.input.methodCode) << ','
             << int(r.input.mode) << ',' << r.status << ',' << CsvField(r.message) << ','
             << SingleText(r.resultRate) << ',' << SingleText(r.resultScale) << '\n';
    }

private:
    std::string Field(const std::string& text) const {
        return CsvField(toTerminal_ ? Printable(text, text.size() * 4) : text);
    }

    std::ostream& out_;
    bool toTerminal_;
};

// Widths are fixed before the first item, from the titles and the widths items usually need.
struct TableColumn {
    std::vector<std::string> titles;  // one per title line
    std::size_t width = 0;
    bool rightAligned = false;
    std::function<std::string(const ItemResult&)> cell;
};

// Part numbers are often short; 20 keeps the usual ones aligned without a wide empty column.
constexpr std::size_t kPartNumberWidth = 20;
constexpr std::size_t kNumberWidth = 15;  // "%.9g" of any single, "-1.23456789e-38"

TableColumn OwnColumn(const std::string& title,
                      std::size_t titleLines,
                      std::size_t width,
                      bool rightAligned,
                      std::function<std::string(const ItemResult&)> cell) {
    TableColumn column;
    column.titles.assign(titleLines, "");
    column.titles.front() = title;
    column.width = std::max(width, title.size());
    column.rightAligned = rightAligned;
    column.cell = std::move(cell);
    return column;
}

std::string Padded(const std::string& text, std::size_t width, bool right) {
    const std::string padding(width > text.size() ? width - text.size() : 0, ' ');
    return right ? padding + text : text + padding;
}

class TableWriter : public ResultWriter {
public:
    TableWriter(std::ostream& out, const ModuleColumns& module) : out_(out) {
        const std::size_t lines = std::max(1, module.TitleLineCount());
        columns_.push_back(OwnColumn("PartNumber", lines, kPartNumberWidth, false,
                                     [](const ItemResult& r) { return Printable(r.input.partNumber); }));
        if (module.Columns().empty()) {
            columns_.push_back(OwnColumn("Env", lines, 3, false, [](const ItemResult& r) {
                return std::to_string(r.input.environmentCode);
            }));
            columns_.push_back(OwnColumn("Temperature", lines, kNumberWidth, true,
                                         [](const ItemResult& r) { return SingleText(r.input.temperature); }));
        }
        for (std::size_t c = 0; c < module.Columns().size(); ++c) {
            const ModuleColumn& own = module.Columns()[c];
            TableColumn column;
            column.titles = own.titleLines;
            column.titles.resize(lines);
            column.width = static_cast<std::size_t>(std::max(0, own.length));
            for (const std::string& title : column.titles) {
                column.width = std::max(column.width, title.size());
            }
            column.cell = [c](const ItemResult& r) {
                return c < r.moduleFields.size() ? Printable(r.moduleFields[c]) : std::string();
            };
            columns_.push_back(std::move(column));
        }
        columns_.push_back(OwnColumn("Method", lines, 3, true, [](const ItemResult& r) {
            return std::to_string(r.input.methodCode);
        }));
        columns_.push_back(OwnColumn("Mode", lines, 1, true,
                                     [](const ItemResult& r) { return std::to_string(r.input.mode); }));
        columns_.push_back(OwnColumn("Status", lines, 10, false,
                                     [](const ItemResult& r) { return std::string(StatusName(r.status)); }));
        columns_.push_back(OwnColumn("ResultRate", lines, kNumberWidth, true,
                                     [](const ItemResult& r) { return SingleText(r.resultRate); }));
        columns_.push_back(OwnColumn("ResultScale", lines, kNumberWidth, true,
                                     [](const ItemResult& r) { return SingleText(r.resultScale); }));
        columns_.push_back(OwnColumn("Message", lines, 0, false,
                                     [](const ItemResult& r) { return Printable(r.message); }));
        titleLines_ = lines;
    }

    void WriteHeader() override {
        for (std::size_t line = 0; line < titleLines_; ++line) {
            WriteLine([&](const TableColumn& column) { return column.titles[line]; });
        }
        WriteLine([](const TableColumn& column) { return std::string(column.width, '-'); });
    }

    void Write(const ItemResult& result) override {
        WriteLine([&](const TableColumn& column) { return column.cell(result); });
    }

private:
    void WriteLine(const std::function<std::string(const TableColumn&)>& text) {
        std::string line;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            line += (i > 0 ? "  " : "") + Padded(text(columns_[i]), columns_[i].width, columns_[i].rightAligned);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out_ << line << '\n';
    }

    std::ostream& out_;
    std::vector<TableColumn> columns_;
    std::size_t titleLines_ = 1;
};

}  // namespace

std::unique_ptr<ResultWriter> MakeResultWriter(const std::string& format,
                                               std::ostream& out,
                                               const ModuleColumns& columns,
                                               bool toTerminal) {
    if (format == "csv") {
        return std::make_unique<CsvWriter>(out, toTerminal);
    }
    return std::make_unique<TableWriter>(out, columns);
}

}  // namespace tavrin21::host
