#include "framework/platform/connect_string.h"

namespace framework {

// Windows' driver manager and the Access driver read the connect string as the module composes
// it ("DBQ=<Windows path>"), and the driver manager itself refuses an empty DRIVER.
std::string ConnectStringForDriverManager(const std::string& connectString) {
    return connectString;
}

}  // namespace framework
