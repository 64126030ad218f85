#include "host/csv_reader.h"

#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

using Fields = std::vector<std::string>;

std::vector<CsvRecord> ReadAll(const std::string& text) {
    std::istringstream input(text);
    CsvReader reader(input);
    std::vector<CsvRecord> records;
    while (auto record = reader.Next()) {
        records.push_back(*record);
    }
    return records;
}

TEST(CsvReader, ReadsQuotedFieldsAndLineEndings) {
    const struct {
        const char* name;
        std::string text;
        std::vector<Fields> fields;
        std::vector<int> lines;
    } rows[] = {
        {"plain", "a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"CRLF and no final newline", "a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"empty fields", ",,\n", {{"", "", ""}}, {1}},
        {"quoted comma and doubled quote",
         "\"x,y\",\"say \"\"hi\"\"\"\n",
         {{"x,y", "say \"hi\""}},
         {1}},
        {"line break inside quotes",
         "\"two\nlines\",z\nnext\n",
         {{"two\nlines", "z"}, {"next"}},
         {1, 3}},
        {"blank lines skipped", "a\n\n\r\nb\n", {{"a"}, {"b"}}, {1, 4}},
        {"byte-order mark skipped",
         "\xEF\xBB\xBF"
         "a,b\n",
         {{"a", "b"}},
         {1}},
        {"carriage return inside quotes kept", "\"x\ry\"\n", {{"x\ry"}}, {1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto records = ReadAll(row.text);
        ASSERT_EQ(records.size(), row.fields.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].fields, row.fields[i]);
            EXPECT_EQ(records[i].line, row.lines[i]);
        }
    }
}

TEST(CsvReader, BadRecordIsAnErrorAtItsLineAndReadingGoesOnAtTheNextLine) {
    const struct {
        const char* name;
        std::string badLines;
        int errorLine;
    } rows[] = {
        {"text after a closing quote", "\"a\"b,c\n", 2},
        {"stray carriage return", "a\rb,c\n", 2},
        // The rows after an unclosed quote are read, not swallowed into its field.
        {"unclosed quote", "x,\"never closed\nnot, a field\n", 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::istringstream input("ok\n" + row.badLines + "next\n");
        CsvReader reader(input);
        EXPECT_EQ(reader.Next()->fields, Fields{"ok"});
        try {
            reader.Next();
            FAIL() << "no error";
        } catch (const CsvError& error) {
            EXPECT_EQ(error.Line(), row.errorLine);
        }
        std::vector<CsvRecord> rest;
        while (auto record = reader.Next()) {
            rest.push_back(*record);
        }
        ASSERT_FALSE(rest.empty());
        EXPECT_EQ(rest.back().fields, Fields{"next"});
        EXPECT_EQ(rest.back().line, std::count(row.badLines.begin(), row.badLines.end(), '\n') + 2);
    }
}

TEST(CsvField, QuotesOnlyWhenNeededAndRoundTrips) {
    for (const std::string text : {"plain", "a,b", "say \"hi\"", "two\nlines", ""}) {
        const auto records = ReadAll(CsvField(text) + ",end\n");
        ASSERT_EQ(records.size(), 1u) << text;
        EXPECT_EQ(records[0].fields[0], text);
    }
    EXPECT_EQ(CsvField("plain"), "plain");
}

}  // namespace
}  // namespace tavrin21::host
