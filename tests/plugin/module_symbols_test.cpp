// What the built module shows the dynamic loader, read from its ELF dynamic symbol table and
// dynamic section: exactly the eight exports by their C names, and the host library's
// AccGetFromTable imported from libmorvik.

#include <algorithm>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

struct DynamicSymbol {
    std::string name;
    bool defined;
    unsigned char binding;
    unsigned char type;
};

struct DynamicLinkage {
    std::vector<DynamicSymbol> symbols;
    std::vector<std::string> needed;
};

class ElfFile {
  public:
    explicit ElfFile(const std::string& path) {
        std::ifstream stream(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
        const auto header = At<Elf64_Ehdr>(0);
        if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
            header.e_ident[EI_CLASS] != ELFCLASS64) {
            throw std::runtime_error(path + " is not a 64-bit ELF file");
        }
        for (std::size_t i = 0; i < header.e_shnum; ++i) {
            sections_.push_back(At<Elf64_Shdr>(header.e_shoff + i * header.e_shentsize));
        }
    }

    DynamicLinkage Linkage() const {
        DynamicLinkage linkage;
        for (const Elf64_Shdr& section : sections_) {
            if (section.sh_type == SHT_DYNSYM) {
                ReadSymbols(section, linkage.symbols);
            } else if (section.sh_type == SHT_DYNAMIC) {
                ReadNeeded(section, linkage.needed);
            }
        }
        return linkage;
    }

  private:
    template <typename T>
    T At(std::size_t offset) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) {
            throw std::runtime_error("ELF structure beyond the end of the file");
        }
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof(T));
        return value;
    }

    std::string StringAt(const Elf64_Shdr& table, std::size_t index) const {
        const std::size_t offset = table.sh_offset + index;
        if (index >= table.sh_size || offset >= bytes_.size()) {
            throw std::runtime_error("ELF string beyond its table");
        }
        return std::string(bytes_.data() + offset,
                           strnlen(bytes_.data() + offset, bytes_.size() - offset));
    }

    void ReadSymbols(const Elf64_Shdr& table, std::vector<DynamicSymbol>& symbols) const {
        const Elf64_Shdr& names = sections_.at(table.sh_link);
        for (std::size_t i = 1; i < table.sh_size / sizeof(Elf64_Sym); ++i) {  // 0 is null
            const auto symbol = At<Elf64_Sym>(table.sh_offset + i * sizeof(Elf64_Sym));
            symbols.push_back({StringAt(names, symbol.st_name), symbol.st_shndx != SHN_UNDEF,
                               static_cast<unsigned char>(ELF64_ST_BIND(symbol.st_info)),
                               static_cast<unsigned char>(ELF64_ST_TYPE(symbol.st_info))});
        }
    }

    void ReadNeeded(const Elf64_Shdr& table, std::vector<std::string>& needed) const {
        const Elf64_Shdr& names = sections_.at(table.sh_link);
        for (std::size_t i = 0; i < table.sh_size / sizeof(Elf64_Dyn); ++i) {
            const auto entry = At<Elf64_Dyn>(table.sh_offset + i * sizeof(Elf64_Dyn));
            if (entry.d_tag == DT_NULL) {
                break;
            }
            if (entry.d_tag == DT_NEEDED) {
                needed.push_back(StringAt(names, entry.d_un.d_val));
            }
        }
    }

    std::vector<char> bytes_;
    std::vector<Elf64_Shdr> sections_;
};

const DynamicLinkage& ModuleLinkage() {
    static const DynamicLinkage linkage = ElfFile(TAVRIN21_MODULE_PATH).Linkage();
    return linkage;
}

TEST(ModuleSymbols, ExportsExactlyTheEightFunctionsByTheirCNames) {
    const std::set<std::string> expected = {
        "calc_item",          "chek_item",      "GetViewFields", "GetFieldsCount",
        "GetTitleLinesCount", "GetFieldLength", "GetFieldTitle", "GetField"};
    std::set<std::string> exported;
    for (const DynamicSymbol& symbol : ModuleLinkage().symbols) {
        const bool visible = symbol.binding == STB_GLOBAL || symbol.binding == STB_WEAK ||
                             symbol.binding == STB_GNU_UNIQUE;
        if (!symbol.defined || !visible) {
            continue;
        }
        EXPECT_EQ(symbol.type, STT_FUNC) << symbol.name;
        EXPECT_TRUE(exported.insert(symbol.name).second) << symbol.name << " twice";
    }
    EXPECT_EQ(exported, expected);
}

TEST(ModuleSymbols, ImportsAccGetFromTableFromTheHostLibrary) {
    const DynamicLinkage& linkage = ModuleLinkage();
    const auto accGetFromTable =
        std::find_if(linkage.symbols.begin(), linkage.symbols.end(),
                     [](const DynamicSymbol& symbol) { return symbol.name == "AccGetFromTable"; });
    ASSERT_NE(accGetFromTable, linkage.symbols.end());
    EXPECT_FALSE(accGetFromTable->defined);
    EXPECT_NE(std::find(linkage.needed.begin(), linkage.needed.end(), "libmorvik.so"),
              linkage.needed.end())
        << "NEEDED entries: " << testing::PrintToString(linkage.needed);
}

}  // namespace
}  // namespace tavrin21
