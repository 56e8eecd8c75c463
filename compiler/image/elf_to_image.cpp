#include "compiler/image/elf_to_image.h"

#include <elf.h>

#include <cstring>
#include <map>
#include <vector>

namespace tarsk {
namespace {

constexpr std::string_view kMainSymbol = "__MAIN";
constexpr int32_t kJumpSize = 16;  // "jmp __MAIN" at offset 0, padded

const char* relocationName(uint32_t type) {
    static const std::map<uint32_t, const char*> names = {
        {R_X86_64_64, "R_X86_64_64"},           {R_X86_64_GOT32, "R_X86_64_GOT32"},
        {R_X86_64_COPY, "R_X86_64_COPY"},       {R_X86_64_GLOB_DAT, "R_X86_64_GLOB_DAT"},
        {R_X86_64_JUMP_SLOT, "R_X86_64_JUMP_SLOT"}, {R_X86_64_RELATIVE, "R_X86_64_RELATIVE"},
        {R_X86_64_GOTPCREL, "R_X86_64_GOTPCREL"}, {R_X86_64_16, "R_X86_64_16"},
        {R_X86_64_PC16, "R_X86_64_PC16"},       {R_X86_64_8, "R_X86_64_8"},
        {R_X86_64_PC8, "R_X86_64_PC8"},         {R_X86_64_DTPMOD64, "R_X86_64_DTPMOD64"},
        {R_X86_64_DTPOFF64, "R_X86_64_DTPOFF64"}, {R_X86_64_TPOFF64, "R_X86_64_TPOFF64"},
        {R_X86_64_TLSGD, "R_X86_64_TLSGD"},     {R_X86_64_TLSLD, "R_X86_64_TLSLD"},
        {R_X86_64_DTPOFF32, "R_X86_64_DTPOFF32"}, {R_X86_64_GOTTPOFF, "R_X86_64_GOTTPOFF"},
        {R_X86_64_TPOFF32, "R_X86_64_TPOFF32"}, {R_X86_64_PC64, "R_X86_64_PC64"},
        {R_X86_64_GOTOFF64, "R_X86_64_GOTOFF64"}, {R_X86_64_GOTPC32, "R_X86_64_GOTPC32"},
        {R_X86_64_SIZE32, "R_X86_64_SIZE32"},   {R_X86_64_SIZE64, "R_X86_64_SIZE64"},
        {R_X86_64_GOTPCRELX, "R_X86_64_GOTPCRELX"}, {R_X86_64_REX_GOTPCRELX, "R_X86_64_REX_GOTPCRELX"},
    };
    auto found = names.find(type);
    return found == names.end() ? nullptr : found->second;
}

class ElfObject {
public:
    explicit ElfObject(std::span<const uint8_t> data) : data_(data) {}

    bool load(std::string& error) {
        if (data_.size() < sizeof(Elf64_Ehdr) || std::memcmp(data_.data(), ELFMAG, SELFMAG) != 0)
            return fail(error, "not an ELF file");
        std::memcpy(&header_, data_.data(), sizeof header_);
        if (header_.e_ident[EI_CLASS] != ELFCLASS64 || header_.e_ident[EI_DATA] != ELFDATA2LSB ||
            header_.e_machine != EM_X86_64)
            return fail(error, "not an x86-64 ELF object");
        if (header_.e_type != ET_REL) return fail(error, "not a relocatable object");
        if (header_.e_shentsize != sizeof(Elf64_Shdr) || !inside(header_.e_shoff, uint64_t(header_.e_shnum) * sizeof(Elf64_Shdr)))
            return fail(error, "damaged section table");
        sections_.resize(header_.e_shnum);
        std::memcpy(sections_.data(), data_.data() + header_.e_shoff, sections_.size() * sizeof(Elf64_Shdr));
        for (const Elf64_Shdr& s : sections_)
            if (s.sh_type != SHT_NOBITS && s.sh_type != SHT_NULL && !inside(s.sh_offset, s.sh_size))
                return fail(error, "damaged section");
        if (header_.e_shstrndx >= sections_.size()) return fail(error, "damaged section names");
        for (size_t i = 0; i < sections_.size(); ++i) {
            if (sections_[i].sh_type != SHT_SYMTAB) continue;
            const Elf64_Shdr& table = sections_[i];
            if (table.sh_entsize != sizeof(Elf64_Sym) || table.sh_link >= sections_.size())
                return fail(error, "damaged symbol table");
            symbols_.resize(table.sh_size / sizeof(Elf64_Sym));
            std::memcpy(symbols_.data(), data_.data() + table.sh_offset, symbols_.size() * sizeof(Elf64_Sym));
            symbolNames_ = table.sh_link;
        }
        return true;
    }

    const std::vector<Elf64_Shdr>& sections() const { return sections_; }
    const std::vector<Elf64_Sym>& symbols() const { return symbols_; }
    std::string sectionName(size_t index) const { return text(header_.e_shstrndx, sections_[index].sh_name); }
    std::string symbolName(const Elf64_Sym& symbol) const { return text(symbolNames_, symbol.st_name); }
    const uint8_t* contents(const Elf64_Shdr& section) const { return data_.data() + section.sh_offset; }

private:
    bool inside(uint64_t offset, uint64_t size) const {
        return offset <= data_.size() && size <= data_.size() - offset;
    }
    std::string text(size_t section, uint64_t offset) const {
        if (section >= sections_.size()) return "";
        const Elf64_Shdr& s = sections_[section];
        if (offset >= s.sh_size) return "";
        const char* start = reinterpret_cast<const char*>(data_.data() + s.sh_offset + offset);
        return std::string(start, strnlen(start, size_t(s.sh_size - offset)));
    }
    static bool fail(std::string& error, const char* message) {
        error = message;
        return false;
    }

    std::span<const uint8_t> data_;
    Elf64_Ehdr header_{};
    std::vector<Elf64_Shdr> sections_;
    std::vector<Elf64_Sym> symbols_;
    size_t symbolNames_ = 0;
};

bool isUnwindSection(const std::string& name) { return name == ".eh_frame"; }

// "_" followed by digits names a section of the image.
bool isInternalName(const std::string& name) {
    return name.size() > 1 && name[0] == '_' && name.find_first_not_of("0123456789", 1) == std::string::npos;
}

int32_t alignUp(int32_t offset, uint64_t alignment) {
    if (alignment <= 1) return offset;
    return int32_t((uint64_t(offset) + alignment - 1) / alignment * alignment);
}

void storeInt(std::vector<uint8_t>& code, int32_t offset, int32_t value) {
    std::memcpy(code.data() + offset, &value, 4);
}

std::string internalName(size_t section) { return std::string("_").append(std::to_string(section)); }

}  // namespace

bool elfToImage(std::span<const uint8_t> data, ModuleImage& image, std::string& error) {
    ElfObject object(data);
    if (!object.load(error)) return false;
    const auto& sections = object.sections();
    const auto& symbols = object.symbols();

    // Layout: the jump, every allocated section in order, .eh_frame with its terminator last.
    std::vector<int32_t> placed(sections.size(), -1);
    std::vector<uint8_t>& code = image.code;
    code.assign(kJumpSize, 0x90);
    size_t unwind = 0;
    auto place = [&](size_t index) {
        const Elf64_Shdr& s = sections[index];
        int32_t offset = alignUp(int32_t(code.size()), s.sh_addralign);
        code.resize(size_t(offset), 0);
        if (s.sh_type == SHT_NOBITS)
            code.resize(code.size() + s.sh_size, 0);
        else
            code.insert(code.end(), object.contents(s), object.contents(s) + s.sh_size);
        placed[index] = offset;
    };
    for (size_t i = 1; i < sections.size(); ++i) {
        const Elf64_Shdr& s = sections[i];
        if (!(s.sh_flags & SHF_ALLOC) || s.sh_type == SHT_NOTE) continue;
        std::string name = object.sectionName(i);
        if (s.sh_flags & SHF_TLS) {
            error = "thread-local storage is not supported (section " + name + ")";
            return false;
        }
        if (s.sh_type == SHT_INIT_ARRAY || s.sh_type == SHT_FINI_ARRAY || s.sh_type == SHT_PREINIT_ARRAY) {
            error = "static constructors are not supported (section " + name + ")";
            return false;
        }
        if (isUnwindSection(name)) {
            unwind = i;
            continue;
        }
        place(i);
    }
    // Common symbols get space of their own after the sections.
    std::map<size_t, int32_t> commons;
    for (size_t i = 0; i < symbols.size(); ++i) {
        if (symbols[i].st_shndx != SHN_COMMON) continue;
        int32_t offset = alignUp(int32_t(code.size()), symbols[i].st_value);
        code.resize(size_t(offset) + symbols[i].st_size, 0);
        commons[i] = offset;
    }
    if (unwind) {
        place(unwind);
        code.resize(code.size() + 4, 0);  // zero-length entry ends the table
        image.defined.push_back({std::string(kUnwindTableSymbol), placed[unwind]});
    }
    if (code.size() > size_t(INT32_MAX) - 4096) {
        error = "program too large";
        return false;
    }

    // Defined symbols: globals by name, every placed section under an internal name.
    bool hasMain = false;
    for (size_t i = 1; i < symbols.size(); ++i) {
        const Elf64_Sym& sym = symbols[i];
        int binding = ELF64_ST_BIND(sym.st_info);
        if (binding == STB_LOCAL) continue;
        int32_t offset;
        if (sym.st_shndx == SHN_COMMON)
            offset = commons[i];
        else if (sym.st_shndx != SHN_UNDEF && sym.st_shndx < sections.size() && placed[sym.st_shndx] >= 0)
            offset = placed[sym.st_shndx] + int32_t(sym.st_value);
        else
            continue;
        std::string name = object.symbolName(sym);
        if (isInternalName(name)) {
            error = "the symbol name " + name + " is reserved for section references";
            return false;
        }
        if (name == kMainSymbol) hasMain = true;
        image.defined.push_back({name, offset});
    }
    if (!hasMain) {
        error = "the object defines no " + std::string(kMainSymbol);
        return false;
    }
    for (size_t i = 1; i < sections.size(); ++i)
        if (placed[i] >= 0) image.defined.push_back({internalName(i), placed[i]});
    image.relative.push_back({std::string(kMainSymbol), 1});
    code[0] = 0xE9;  // jmp rel32
    storeInt(code, 1, -4);

    for (size_t r = 1; r < sections.size(); ++r) {
        const Elf64_Shdr& rs = sections[r];
        if (rs.sh_type == SHT_REL) {
            error = "relocations without addends are not supported";
            return false;
        }
        if (rs.sh_type != SHT_RELA || rs.sh_info >= sections.size() || placed[rs.sh_info] < 0) continue;
        if (rs.sh_entsize != sizeof(Elf64_Rela)) {
            error = "damaged relocation section";
            return false;
        }
        const Elf64_Shdr& target = sections[rs.sh_info];
        std::string targetName = object.sectionName(rs.sh_info);
        size_t count = rs.sh_size / sizeof(Elf64_Rela);
        for (size_t k = 0; k < count; ++k) {
            Elf64_Rela rela;
            std::memcpy(&rela, object.contents(rs) + k * sizeof rela, sizeof rela);
            uint32_t type = ELF64_R_TYPE(rela.r_info);
            size_t symbolIndex = ELF64_R_SYM(rela.r_info);
            if (type == R_X86_64_NONE) continue;
            bool relative = type == R_X86_64_PC32 || type == R_X86_64_PLT32;
            bool absolute = type == R_X86_64_32 || type == R_X86_64_32S;
            if (!relative && !absolute) {
                const char* name = relocationName(type);
                error = "unsupported relocation " + (name ? std::string(name) : "type " + std::to_string(type)) +
                        " in section " + targetName;
                return false;
            }
            if (symbolIndex >= symbols.size() || rela.r_offset + 4 > target.sh_size) {
                error = "damaged relocation in section " + targetName;
                return false;
            }
            const Elf64_Sym& sym = symbols[symbolIndex];
            int64_t addend = rela.r_addend;
            std::string name;
            if (ELF64_ST_BIND(sym.st_info) == STB_LOCAL) {
                if (sym.st_shndx == SHN_UNDEF || sym.st_shndx >= sections.size() || placed[sym.st_shndx] < 0) {
                    error = "relocation against a symbol outside the program in section " + targetName;
                    return false;
                }
                name = internalName(sym.st_shndx);  // section-relative
                addend += int64_t(sym.st_value);
            } else {
                name = object.symbolName(sym);
            }
            if (addend != int64_t(int32_t(addend))) {
                error = "relocation addend out of range in section " + targetName;
                return false;
            }
            int32_t field = placed[rs.sh_info] + int32_t(rela.r_offset);
            storeInt(code, field, int32_t(addend));
            (relative ? image.relative : image.absolute).push_back({name, field});
        }
    }
    return true;
}

}  // namespace tarsk
