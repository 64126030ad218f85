#include "host/csv_reader.h"

#include <gtest/gtest.h>

#include <sstream>

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
        {"quoted comma and doubled quote", "\"x,y\",\"say \"\"hi\"\"\"\n", {{"x,y", "say \"hi\""}}, {1}},
        {"line break inside quotes", "\"two\nlines\",z\nnext\n", {{"two\nlines", "z"}, {"next"}}, {1, 3}},
        {"blank lines skipped", "a\n\n\r\nb\n", {{"a"}, {"b"}}, {1, 4}},
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

TEST(CsvReader, TextAfterAClosingQuoteIsAnErrorAndReadingGoesOn) {
    std::istringstream input("ok\n\"a\"b,c\nnext\n");
    CsvReader reader(input);
    EXPECT_EQ(reader.Next()->fields, Fields{"ok"});
    try {
        reader.Next();
        FAIL();
    } catch (const CsvError& error) {
        EXPECT_EQ(error.Line(), 2);
    }
    const auto next = reader.Next();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->fields, Fields{"next"});
    EXPECT_EQ(next->line, 3);
}

TEST(CsvReader, UnclosedQuoteIsAnErrorAtItsLine) {
    std::istringstream input("a\n\"never closed\n");
    CsvReader reader(input);
    reader.Next();
    try {
        reader.Next();
        FAIL();
    } catch (const CsvError& error) {
        EXPECT_EQ(error.Line(), 2);
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
