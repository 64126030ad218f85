#include "host/result_writer.h"

#include "host/csv_reader.h"
#include "host/terminal_text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include <nlohmann/json.hpp>

namespace tavrin21::host {

namespace {

std::string OptionalSingle(const std::optional<float>& value) {
    return value ? SingleText(*value) : std::string();
}

class CsvWriter : public ResultWriter {
  public:
    CsvWriter(std::ostream& out, bool toTerminal) : out_(out), toTerminal_(toTerminal) {}

    void WriteHeader() override {
        out_ << "Line,PartNumber,EnvironmentCode,Temperature,MethodCode,Mode,Method,Status,Rate,"
                "Shape,Scale,Message\n";
    }

    void Write(const ItemResult& r) override {
        out_ << r.input.line << ',' << Field(r.input.partNumber) << ','
             << int(r.input.environmentCode) << ',' << SingleText(r.input.temperature) << ','
             << int(r.input.methodCode) << ',' << int(r.input.mode) << ',' << MethodName(r.input)
             << ',' << (r.status ? std::to_string(*r.status) : std::string()) << ','
             << OptionalSingle(r.rate) << ',' << OptionalSingle(r.shape) << ','
             << OptionalSingle(r.scale) << ',' << Field(r.message) << '\n';
    }

  private:
    std::string Field(const std::string& text) const {
        return CsvField(toTerminal_ ? Printable(text, text.size() * 4) : text);
    }

    std::ostream& out_;
    bool toTerminal_;
};

// A single as the JSON number that reads back as the same single: the double nearest to the
// single's shortest text, which the library writes as that text again.
nlohmann::json JsonSingle(float value) {
    return std::strtod(SingleText(value).c_str(), nullptr);
}

nlohmann::json JsonOptionalSingle(const std::optional<float>& value) {
    return value ? JsonSingle(*value) : nlohmann::json(nullptr);
}

// One object per line (JSON Lines): each result is complete when its line is, so a reader can
// take results as they come and a run stopped halfway leaves every line written valid.
class JsonLinesWriter : public ResultWriter {
  public:
    explicit JsonLinesWriter(std::ostream& out) : out_(out) {}

    void WriteHeader() override {}

    void Write(const ItemResult& r) override {
        const nlohmann::ordered_json object = {
            {"Line", r.input.line},
            {"PartNumber", r.input.partNumber},
            {"EnvironmentCode", r.input.environmentCode},
            {"Temperature", JsonSingle(r.input.temperature)},
            {"MethodCode", r.input.methodCode},
            {"Mode", r.input.mode},
            {"Method", MethodName(r.input)},
            {"Status", r.status ? nlohmann::json(*r.status) : nlohmann::json(nullptr)},
            {"Rate", JsonOptionalSingle(r.rate)},
            {"Shape", JsonOptionalSingle(r.shape)},
            {"Scale", JsonOptionalSingle(r.scale)},
            {"Message", r.message},
        };
        // Bytes that are not UTF-8 (a part number in a legacy code page) become U+FFFD rather
        // than ending the run.
        out_ << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    }

  private:
    std::ostream& out_;
};

// Widths are fixed before the first item, from the titles, the module's field lengths and the
// widths the host's own cells need, so each row is written as it comes.
struct TableColumn {
    std::vector<std::string> titles;  // one per title line
    std::size_t width = 0;
    bool rightAligned = false;
    std::function<std::string(const ItemResult&)> cell;
};

// Part numbers are often short; 20 keeps the usual ones aligned without a wide empty column.
constexpr std::size_t kPartNumberWidth = 20;
constexpr std::size_t kNumberWidth = 14;  // the shortest text of any single, "-1.1754944e-38"

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
    const std::size_t shown = ShownWidth(text);
    const std::string padding(width > shown ? width - shown : 0, ' ');
    return right ? padding + text : text + padding;
}

// The module's title lines without a line that repeats the one above it in every column.
std::vector<std::vector<std::string>> DistinctTitleLines(const ModuleColumns& module) {
    std::vector<std::vector<std::string>> lines;  // [line][column]
    for (int line = 0; line < module.TitleLineCount(); ++line) {
        std::vector<std::string> titles;
        for (const ModuleColumn& column : module.Columns()) {
            titles.push_back(line < static_cast<int>(column.titleLines.size())
                                 ? column.titleLines[line]
                                 : std::string());
        }
        if (lines.empty() || titles != lines.back()) {
            lines.push_back(std::move(titles));
        }
    }
    return lines;
}

class TableWriter : public ResultWriter {
  public:
    TableWriter(std::ostream& out, const ModuleColumns& module) : out_(out) {
        const auto moduleTitles = DistinctTitleLines(module);
        const std::size_t lines = std::max<std::size_t>(1, moduleTitles.size());
        columns_.push_back(OwnColumn("Line", lines, 5, true, [](const ItemResult& r) {
            return std::to_string(r.input.line);
        }));
        columns_.push_back(
            OwnColumn("PartNumber", lines, kPartNumberWidth, false,
                      [](const ItemResult& r) { return Printable(r.input.partNumber); }));
        if (module.Columns().empty()) {
            columns_.push_back(OwnColumn("Env", lines, 3, false, [](const ItemResult& r) {
                return std::to_string(r.input.environmentCode);
            }));
            columns_.push_back(
                OwnColumn("Temperature", lines, kNumberWidth, true,
                          [](const ItemResult& r) { return SingleText(r.input.temperature); }));
        }
        for (std::size_t c = 0; c < module.Columns().size(); ++c) {
            TableColumn column;
            column.width = static_cast<std::size_t>(std::max(0, module.Columns()[c].length));
            column.titles.resize(lines);
            for (std::size_t line = 0; line < moduleTitles.size(); ++line) {
                column.titles[line] = moduleTitles[line][c];
                column.width = std::max(column.width, column.titles[line].size());
            }
            column.cell = [c](const ItemResult& r) {
                return c < r.moduleFields.size() ? Printable(r.moduleFields[c]) : std::string();
            };
            columns_.push_back(std::move(column));
        }
        columns_.push_back(
            OwnColumn("Method", lines, std::strlen("straight line"), false,
                      [](const ItemResult& r) { return std::string(MethodName(r.input)); }));
        columns_.push_back(
            OwnColumn("Status", lines, std::strlen("not calculated"), false,
                      [](const ItemResult& r) { return std::string(StatusName(r)); }));
        columns_.push_back(OwnColumn("Rate", lines, kNumberWidth, true,
                                     [](const ItemResult& r) { return OptionalSingle(r.rate); }));
        columns_.push_back(OwnColumn("Shape", lines, kNumberWidth, true,
                                     [](const ItemResult& r) { return OptionalSingle(r.shape); }));
        columns_.push_back(OwnColumn("Scale", lines, kNumberWidth, true,
                                     [](const ItemResult& r) { return OptionalSingle(r.scale); }));
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
            line += (i > 0 ? "  " : "") +
                    Padded(text(columns_[i]), columns_[i].width, columns_[i].rightAligned);
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
    if (format == "json") {
        return std::make_unique<JsonLinesWriter>(out);
    }
    return std::make_unique<TableWriter>(out, columns);
}

}  // namespace tavrin21::host
