#include "device/KeyboardMirror.h"

#include <algorithm>

namespace quillmar::device {

bool KeyboardMirror::holds(MirroredArea area, std::size_t address, std::span<const std::uint8_t> bytes) const {
    std::lock_guard lock(mutex_);
    const Bytes& mirror = bytesOf(area);
    if (address + bytes.size() > mirror.values.size()) return false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!mirror.known[address + i] || mirror.values[address + i] != bytes[i]) return false;
    }
    return true;
}

void KeyboardMirror::remember(MirroredArea area, std::size_t address, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    Bytes& mirror = bytesOf(area);
    const std::size_t end = address + bytes.size();
    if (end > mirror.values.size()) {
        mirror.values.resize(end);
        mirror.known.resize(end, false);
    }
    std::ranges::copy(bytes, mirror.values.begin() + static_cast<std::ptrdiff_t>(address));
    std::fill_n(mirror.known.begin() + static_cast<std::ptrdiff_t>(address), bytes.size(), true);
}

void KeyboardMirror::forget(MirroredArea area, std::size_t address, std::size_t length) {
    std::lock_guard lock(mutex_);
    Bytes& mirror = bytesOf(area);
    if (address >= mirror.known.size()) return;
    const std::size_t end = std::min(address + length, mirror.known.size());
    std::fill(mirror.known.begin() + static_cast<std::ptrdiff_t>(address),
              mirror.known.begin() + static_cast<std::ptrdiff_t>(end), false);
}

void KeyboardMirror::forget() {
    std::lock_guard lock(mutex_);
    keyBlocks_ = {};
    macroArea_ = {};
}

}  // namespace quillmar::device
