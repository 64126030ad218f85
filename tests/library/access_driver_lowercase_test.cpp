// A driver list whose only driver for Access is spelled in lower case: no driver is found, and
// opening the library fails with the driver left empty in the connect string.

#include "framework/message_box.h"
#include "framework/platform/windows_path.h"
#include "library/access_driver.h"
#include "library/failure_library.h"
#include "tests/support/scratch_directory.h"
#include "framework/platform/host_system.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

TEST(AccessDriverName, LowerCaseAccessIsNotFoundSoTheLibraryDoesNotOpen) {
    if (framework::HostIsWindows()) {
        GTEST_SKIP() << "the test places its Windows paths with a path mapping and lists "
                        "drivers with unixODBC's odbcinst.ini";
    }
    ASSERT_NE(std::getenv("ODBCSYSINI"), nullptr) << "run through ctest, which sets ODBCSYSINI";
    EXPECT_EQ(AccessDriverName(), "");

    test::ScratchDirectory folder;
    std::filesystem::create_directories(folder / "LIB");
    const framework::PathMapping previous = framework::SetPathMapping({folder.Path(), {}});
    std::vector<std::string> boxes;
    framework::ScopedMessageSink sink([&](const std::string& text, unsigned, unsigned) {
        boxes.push_back(text);
        return framework::kIdOk;
    });
    FailureLibrary library("", "");
    EXPECT_EQ(library.Open(), 2);
    framework::SetPathMapping(previous);
    EXPECT_FALSE(library.connection.IsOpen());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].starts_with("Error opening database!\n")) << boxes[0];
    EXPECT_TRUE(boxes[0].ends_with("\nODBC;DRIVER={};DSN='';DBQ=\\LIB\\zova.mdb;Uid=;Pwd=;"))
        << boxes[0];
}

}  // namespace
}  // namespace tavrin21
