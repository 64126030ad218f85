#include "framework/platform/windows_path.h"

#include "framework/platform/host_system.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

TEST(HostPath, MapsDrivesRootAndRelativePathsOntoHostFolders) {
    if (framework::HostIsWindows()) {
        GTEST_SKIP() << "Windows paths are the system's own there and are not mapped";
    }
    const PathMapping previous = SetPathMapping({"/srv/current", {{'D', "/mnt/data"}}});
    const struct {
        const char* windows;
        const char* host;
    } rows[] = {
        {"\\LIB\\zova.mdb", "/srv/current/LIB/zova.mdb"},
        {"/LIB/ZOVA.MDB", "/srv/current/LIB/ZOVA.MDB"},
        {"D:\\\\PROJ\\x.mdb", "/mnt/data/PROJ/x.mdb"},
        {"d:\\PROJ\\x.mdb", "/mnt/data/PROJ/x.mdb"},
        {"D:PROJ\\x.mdb", "/mnt/data/PROJ/x.mdb"},
        {"C:\\PROJ\\x.mdb", "/srv/current/C/PROJ/x.mdb"},
        {"c:\\", "/srv/current/C"},
        {"\\EMPRJ\\", "/srv/current/EMPRJ"},
        {"LIB\\zova.mdb", "LIB/zova.mdb"},
        {"\\dir with blank\\a b.mdb", "/srv/current/dir with blank/a b.mdb"},
        {"", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.windows);
        EXPECT_EQ(HostPath(row.windows), std::filesystem::path(row.host));
    }
    SetPathMapping(previous);
}

}  // namespace
}  // namespace framework
