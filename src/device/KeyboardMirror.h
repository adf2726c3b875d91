#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace quillmar::device {

// The keyboard's memory areas a download writes, each addressed as its
// commands address it: the key blocks (profile p at p × 378) and the macro
// area (from 0).
enum class MirroredArea { KeyBlocks, MacroArea };

// What this program knows the keyboard holds, byte by byte, so that a
// download need only send the pieces that differ. Filled by reading the
// keyboard, updated by verified writes, forgotten whenever another program
// may have written. Thread-safe: downloads run on a worker, arrivals on the
// presence thread.
class KeyboardMirror {
public:
    // True when every byte from the address on is known and equal to bytes.
    bool holds(MirroredArea area, std::size_t address, std::span<const std::uint8_t> bytes) const;
    void remember(MirroredArea area, std::size_t address, std::span<const std::uint8_t> bytes);
    void forget(MirroredArea area, std::size_t address, std::size_t length);
    void forget();

private:
    struct Bytes {
        std::vector<std::uint8_t> values;
        std::vector<bool> known;
    };
    Bytes& bytesOf(MirroredArea area) { return area == MirroredArea::KeyBlocks ? keyBlocks_ : macroArea_; }
    const Bytes& bytesOf(MirroredArea area) const {
        return area == MirroredArea::KeyBlocks ? keyBlocks_ : macroArea_;
    }

    mutable std::mutex mutex_;
    Bytes keyBlocks_;
    Bytes macroArea_;
};

}  // namespace quillmar::device
