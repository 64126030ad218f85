#include "framework/platform/windows_path.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

class WindowsPath : public ::testing::Test {
  protected:
    void SetUp() override { previous_ = SetPathMapping({"/srv/current", {{'D', "/mnt/data"}}}); }
    void TearDown() override { SetPathMapping(previous_); }

  private:
    PathMapping previous_;
};

TEST_F(WindowsPath, MapsDrivesRootAndRelativePathsOntoHostFolders) {
    const struct {
        const char* windows;
        const char* host;
    } rows[] = {
        {"\\LIB\\zova.mdb", "/srv/current/LIB/zova.mdb"},
        {"/LIB/zova.mdb", "/srv/current/LIB/zova.mdb"},
        {"D:\\\\PROJ\\x.mdb", "/mnt/data/PROJ/x.mdb"},
        {"d:\\PROJ\\x.mdb", "/mnt/data/PROJ/x.mdb"},
        {"D:PROJ\\x.mdb", "/mnt/data/PROJ/x.mdb"},
        {"C:\\PROJ\\x.mdb", "/srv/current/C/PROJ/x.mdb"},
        {"c:\\", "/srv/current/C"},
        {"\\EMPRJ", "/srv/current/EMPRJ"},
        {"\\EMPRJ\\", "/srv/current/EMPRJ"},
        {"LIB\\zova.mdb", "LIB/zova.mdb"},
        {"\\LIB\\ZOVA.MDB", "/srv/current/LIB/ZOVA.MDB"},
        {"\\dir with blank\\a b.mdb", "/srv/current/dir with blank/a b.mdb"},
        {"", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.windows);
        EXPECT_EQ(HostPath(row.windows), std::filesystem::path(row.host));
    }
}

TEST_F(WindowsPath, SetPathMappingReturnsTheMappingItReplaces) {
    const PathMapping replaced = SetPathMapping({"/other", {}});
    EXPECT_EQ(replaced.currentDriveRoot, "/srv/current");
    EXPECT_EQ(HostPath("\\x"), std::filesystem::path("/other/x"));
    EXPECT_EQ(HostPath("D:\\x"), std::filesystem::path("/other/D/x"));
}

}  // namespace
}  // namespace framework
