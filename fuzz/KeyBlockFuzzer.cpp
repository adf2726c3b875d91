// Any key block read back from a keyboard, against any default layout:
// decoding fills only the profile's 512 records with known assignment types.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "config/KeyBlockImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillmar;
    // The first 378 bytes are the block, the next 378 the default layout
    // (the built-in one where the input runs short).
    std::array<std::uint8_t, keyboard::kKeyBlockBytes> block{};
    keyboard::DefaultKeyTable defaults = keyboard::kBuiltInDefaultKeyTable;
    std::memcpy(block.data(), data, std::min(size, block.size()));
    if (size > block.size()) std::memcpy(defaults.data(), data + block.size(), std::min(size - block.size(), defaults.size()));

    std::array<keyboard::KeyAssignment, keyboard::kSlotsPerProfile> records{};
    config::decodeKeyBlock(records, block, defaults);
    for (const auto& record : records)
        if (static_cast<unsigned>(record.type) > static_cast<unsigned>(keyboard::AssignmentType::Function)) std::abort();

    // What was decoded encodes again without trouble.
    const auto again = config::buildKeyBlock(records, defaults, [](std::uint32_t id) { return static_cast<int>(id) - 1; });
    if (again.size() != keyboard::kKeyBlockBytes) std::abort();
    return 0;
}
