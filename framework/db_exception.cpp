#include "framework/db_exception.h"

#include <algorithm>
#include <cstring>

namespace framework {

namespace {

std::string JoinRecords(const std::vector<DiagnosticRecord>& records) {
    std::string text;
    for (const DiagnosticRecord& record : records) {
        if (!text.empty()) {
            text += '\n';
        }
        text += record.sqlState.empty() ? std::string("-----") : record.sqlState;
        text += " (" + std::to_string(record.nativeError) + ") " + record.message;
    }
    return text;
}

std::string Describe(const std::string& what,
                     const std::string& errorText,
                     const std::string& statement) {
    std::string text = what;
    if (!errorText.empty()) {
        text += ": " + errorText;
    }
    if (!statement.empty()) {
        text += " [while executing \"" + statement + "\"]";
    }
    return text;
}

}  // namespace

DbException::DbException(const std::string& what,
                         std::vector<DiagnosticRecord> records,
                         std::string statement)
    : std::runtime_error(Describe(what, JoinRecords(records), statement)),
      records_(std::move(records)),
      statement_(std::move(statement)),
      errorText_(JoinRecords(records_)) {
    if (errorText_.empty()) {
        errorText_ = what;
    }
}

bool DbException::GetErrorMessage(char* buffer, std::size_t maxBytes) const {
    if (buffer == nullptr || maxBytes == 0) {
        return false;
    }
    const std::size_t length = std::min(errorText_.size(), maxBytes - 1);
    std::memcpy(buffer, errorText_.data(), length);
    buffer[length] = '\0';
    return true;
}

std::string DbException::SqlState() const {
    return records_.empty() ? std::string() : records_.front().sqlState;
}

bool IsConnectionLostState(const std::string& sqlState) {
    // 57P01: the server shuts down; 57P02: it ends every session after another of its processes
    // crashed (and, before PostgreSQL 14, on an immediate shutdown); 57P03: it is starting or
    // stopping and takes no session yet.
    return sqlState.rfind("08", 0) == 0 || sqlState == "57P01" || sqlState == "57P02" ||
           sqlState == "57P03";
}

}  // namespace framework
