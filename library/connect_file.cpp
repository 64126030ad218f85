#include "library/connect_file.h"

#include "framework/db_exception.h"
#include "framework/message_box.h"
#include "library/access_driver.h"
#include "library/database_file.h"
#include "tavrin21/help_context.h"

#include <cstdio>
#include <cstring>
#include <exception>

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

int ConnectLibraryFile(framework::Database& connection,
                       const std::function<std::optional<std::string>()>& locate) {
    std::string connectString;
    try {
        const std::string driver = AccessDriverName();
        const std::optional<std::string> path = locate();
        if (!path) {
            return kOpenNotConnected;
        }
        connectString = AccessConnectString(driver, *path);
        connection.Open(connectString);
        if (connection.IsOpen()) {
            return kOpenConnected;
        }
        ShowMessage(kMessageOpenError);
        connection.Close();
        return kOpenNotConnected;
    } catch (const std::exception& error) {
        ShowMessage(kMessageOpenError + ErrorText(error) + "\n" + connectString);
        return kOpenFailed;
    }
}

}  // namespace tavrin21
