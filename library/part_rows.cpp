#include "framework/db_exception.h"
#include "framework/db_variant.h"
#include "framework/message_box.h"
#include "library/failure_library.h"
#include "library/leading_integer.h"
#include "tavrin21/help_context.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin21 {

namespace {

constexpr std::size_t kErrorTextBytes = 256;

// One message box: the fixed first line, ODBC's error text and the SQL that failed.
void ShowReadError(const framework::DbException& error, const std::string& sql) {
    char errorText[kErrorTextBytes] = {};
    error.GetErrorMessage(errorText, kErrorTextBytes - 1);
    framework::MessageBox(std::string(kMessageLibraryReadError) + errorText + "\n" + sql,
                          framework::kMessageBoxOk, kHelpContextDatabaseError);
}

// Reads the columns of one row; one text and one variant serve every read.
class RowReader {
  public:
    explicit RowReader(framework::Recordset& recordset) : recordset_(recordset) {}

    const std::string& Text(std::string_view column) {
        recordset_.GetFieldValue(column, text_);
        return text_;
    }
    std::int32_t Integer(std::string_view column) { return LeadingInteger(Text(column)); }
    std::uint8_t LowByte(std::string_view column) {
        return static_cast<std::uint8_t>(Integer(column));
    }
    // A NULL reads as 0.0.
    double Double(std::string_view column) {
        recordset_.GetFieldValue(column, variant_);
        return variant_.isNull ? 0.0 : variant_.value;
    }

  private:
    framework::Recordset& recordset_;
    std::string text_;
    framework::DbVariant variant_;
};

}  // namespace

int FailureLibrary::CountRows(framework::Database* connection, const std::string& sql) const {
    framework::Recordset rows(connection);
    try {
        rows.Open(sql);
    } catch (const framework::DbException& error) {
        ShowReadError(error, sql);
        return 1;
    }
    int count = 0;
    while (!rows.IsEOF()) {
        ++count;
        rows.MoveNext();
    }
    rows.Close();
    return count;
}

int FailureLibrary::OpenRows(framework::Recordset& recordset, const std::string& sql) const {
    try {
        recordset.Open(sql);
    } catch (const framework::DbException& error) {
        ShowReadError(error, sql);
        return kRowsNotOpened;
    }
    if (recordset.IsEOF()) {
        recordset.Close();
        return kRowsNone;
    }
    return kRowsOpen;
}

void FailureLibrary::ReadRow(PartFailureRecord& record, framework::Recordset& recordset) const {
    RowReader row(recordset);
    record.PartNumber = row.Text("PartNumber");
    record.TimeNumber = row.Integer("TimeNumber");
    record.EnvCode = row.LowByte("EnvCode");
    record.ProcCode = row.LowByte("ProcCode");
    record.FRTime = row.Double("FRTime");
    record.FRDate = row.Text("FRDate");
    record.IsCencored = row.LowByte("IsCencored");
    record.Remark = row.Text("Remark");
    record.ItemNumber = row.Integer("ItemNumber");
    record.Tc = row.Double("Tc");
    record.TimeBtw = row.Double("TimeBtw");
    record.Mtbfc = row.Double("Mtbfc");
    record.Mtbfi = row.Double("Mtbfi");
    record.GrowthRate = row.Double("GrowthRate");
}

}  // namespace tavrin21
