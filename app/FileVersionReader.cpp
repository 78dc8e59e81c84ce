// Reading the version a file carries: the one place where Windows and the other systems differ.
#include "app/BuildInfo.h"

#ifdef _WIN32
#include <vector>
#include <windows.h>

namespace lrf {

std::optional<FileVersionWords> ReadFileVersion(const std::filesystem::path& file) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0)
        return std::nullopt;
    std::vector<unsigned char> info(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, info.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    return FileVersionWords{fixed->dwFileVersionMS, fixed->dwFileVersionLS};
}

} // namespace lrf

#else
#include "app/VersionRecord.h"

#include <cstring>
#include <elf.h>
#include <fstream>
#include <link.h>
#include <string>
#include <vector>

namespace lrf {

namespace {

bool ReadAt(std::ifstream& in, std::uint64_t offset, void* target, std::size_t size) {
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(static_cast<char*>(target), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in.gcount()) == size && in.good();
}

} // namespace

// Finds the version section by name through the section headers of a native ELF file.
std::optional<FileVersionWords> ReadFileVersion(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    ElfW(Ehdr) header{};
    if (!ReadAt(in, 0, &header, sizeof header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) ||
        header.e_shentsize != sizeof(ElfW(Shdr)) || header.e_shnum == 0 ||
        header.e_shstrndx >= header.e_shnum)
        return std::nullopt;

    std::vector<ElfW(Shdr)> sections(header.e_shnum);
    if (!ReadAt(in, header.e_shoff, sections.data(), sections.size() * sizeof(ElfW(Shdr))))
        return std::nullopt;
    const ElfW(Shdr)& namesSection = sections[header.e_shstrndx];
    std::string names(namesSection.sh_size, '\0');
    if (!ReadAt(in, namesSection.sh_offset, names.data(), names.size()))
        return std::nullopt;

    for (const ElfW(Shdr) & section : sections) {
        if (section.sh_name >= names.size() ||
            std::string_view(names.c_str() + section.sh_name) != kVersionSectionName)
            continue;
        VersionRecord record{};
        if (section.sh_type == SHT_NOBITS || section.sh_size < sizeof record ||
            !ReadAt(in, section.sh_offset, &record, sizeof record) ||
            std::memcmp(record.magic, kVersionRecordMagic, sizeof record.magic) != 0)
            return std::nullopt;
        return FileVersionWords{record.fileVersionMS, record.fileVersionLS};
    }
    return std::nullopt;
}

} // namespace lrf
#endif
