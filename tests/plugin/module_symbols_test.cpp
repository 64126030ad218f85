// What the built module shows the dynamic loader, as binutils read it: exactly the eight exports
// by their C names, and the host library's AccGetFromTable imported from libmorvik.

#include "framework/platform/host_system.h"

#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

// The words a binutils command prints about the module; empty when it cannot run.
std::set<std::string> WordsOf(const std::string& command) {
    const std::string line = command + " '" TAVRIN21_MODULE_PATH "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(line.c_str(), "r"), pclose);
    std::set<std::string> words;
    char word[512];
    while (pipe != nullptr && std::fscanf(pipe.get(), "%511s", word) == 1) {
        words.insert(word);
    }
    return words;
}

TEST(ModuleSymbols, DefinesTheEightExportsAndImportsAccGetFromTableFromTheHostLibrary) {
    if (framework::HostIsWindows()) {
        GTEST_SKIP() << "an ELF symbol table; scripts/check-windows-dll.sh checks a Windows module";
    }
    const std::set<std::string> expected = {
        "calc_item",          "chek_item",      "GetViewFields", "GetFieldsCount",
        "GetTitleLinesCount", "GetFieldLength", "GetFieldTitle", "GetField"};
    EXPECT_EQ(WordsOf("nm -D --defined-only --extern-only --format=just-symbols"), expected);
    EXPECT_EQ(WordsOf("nm -D --undefined-only --format=just-symbols").count("AccGetFromTable"), 1u);
    EXPECT_EQ(WordsOf("readelf -d").count("[libmorvik.so]"), 1u);
}

}  // namespace
}  // namespace tavrin21
