// Any bytes as a settings file: reading never fails, and a write changes the
// one value it names and no other.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "text/IniFile.h"

namespace {

namespace fs = std::filesystem;
using quillmar::text::readIniString;
using quillmar::text::writeIniString;

const fs::path& scratchFile() {
    static const fs::path path = fs::temp_directory_path() / ("ini-fuzz-" + std::to_string(::getpid()) + ".ini");
    return path;
}

void writeBytes(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path& file = scratchFile();
    writeBytes(file, data, size);

    // Names the file is likely to hold, taken from the input's first bytes.
    const std::string section = size > 0 ? std::string(1, static_cast<char>('a' + data[0] % 4)) : "a";
    const std::string other = size > 1 ? std::string(1, static_cast<char>('a' + data[1] % 4)) : "b";
    const std::string before = readIniString(file, other, "k", "<none>");

    if (!writeIniString(file, section, "x", "value1")) return 0;
    if (readIniString(file, section, "x", "") != "value1") std::abort();
    if (readIniString(file, other, "k", "<none>") != before) std::abort();
    return 0;
}
