// Any bytes as a skin file's rectangle entry, and as a whole skin file: every
// rectangle read lies within what a widget can take, a missing entry reads as
// 1,1,1,1, and a rectangle written out as "x,y,w,h" reads back as itself.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "text/SkinRectText.h"

namespace {

namespace fs = std::filesystem;
using quillmar::text::kMaxSkinCoordinate;
using quillmar::text::SkinRectFields;

const fs::path& scratchFile() {
    static const fs::path path = fs::temp_directory_path() / ("skin-rect-fuzz-" + std::to_string(::getpid()) + ".ini");
    return path;
}

void checkRange(const SkinRectFields& rect) {
    const auto coordinate = [](int v) { return v >= -kMaxSkinCoordinate && v <= kMaxSkinCoordinate; };
    const auto extent = [](int v) { return v >= 0 && v <= kMaxSkinCoordinate; };
    if (!coordinate(rect.x) || !coordinate(rect.y) || !extent(rect.width) || !extent(rect.height)) std::abort();
}

std::string format(const SkinRectFields& rect) {
    return std::to_string(rect.x) + "," + std::to_string(rect.y) + "," + std::to_string(rect.width) + "," +
           std::to_string(rect.height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillmar::text;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const SkinRectFields parsed = parseSkinRect(text);
    checkRange(parsed);
    if (parseSkinRect(format(parsed)) != parsed) std::abort();

    {
        std::ofstream file(scratchFile(), std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    // Names the skins use, and one no skin has.
    for (const auto& [section, key] : {std::pair{"BUTTONINFO", "k"}, std::pair{"a", "b"}, std::pair{"MAIN", "CLOSE"}})
        checkRange(readSkinRectFields(scratchFile(), section, key));
    if (readSkinRectFields(scratchFile(), "no such section]", "k") != SkinRectFields{}) std::abort();
    return 0;
}
