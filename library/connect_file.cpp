#include "library/connect_file.h"

#include "framework/db_exception.h"
#include "framework/message_box.h"
#include "library/failure_library.h"

#include <cstdio>
#include <cstring>

namespace tavrin21 {

namespace {

// The error text goes through a buffer of 256 characters, of which the copy is given 255.
constexpr std::size_t kErrorTextBuffer = 256;
constexpr std::size_t kErrorTextMax = kErrorTextBuffer - 1;

std::string ErrorText(const std::exception& error) {
    char text[kErrorTextBuffer] = {};
    if (const auto* database = dynamic_cast<const framework::DbException*>(&error)) {
        database->GetErrorMessage(text, kErrorTextMax);
    } else {
        std::snprintf(text, kErrorTextMax, "%s", error.what());
    }
    return text;
}

void ShowMessage(const std::string& text) {
    framework::MessageBox(text, framework::kMessageBoxOk, kHelpContextDatabaseError);
}

}  // namespace

std::string AccessConnectString(const std::string& driver, const std::string& path) {
    return "ODBC;DRIVER={" + driver + "};DSN='';DBQ=" + path + ";Uid=;Pwd=;";
}

int ConnectFile(framework::Database& connection, const std::string& connectString) {
    connection.Open(connectString);
    if (connection.IsOpen()) {
        return 0;
    }
    ShowMessage(kMessageOpenError);
    connection.Close();
    return 1;
}

void ShowOpenError(const std::exception& error, const std::string& connectString) {
    ShowMessage(kMessageOpenError + ErrorText(error) + "\n" + connectString);
}

}  // namespace tavrin21
