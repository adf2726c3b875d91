#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/AssignmentBlock.h"
#include "config/ConfigStore.h"
#include "config/MacroList.h"

namespace quillmar::profiles {

// Longest launch-program or text-block text taken from a file, in UTF-16
// code units; a longer one is cut. Keeps a file whose records all point at
// one huge unterminated text from costing gigabytes.
inline constexpr std::size_t kMaxAssignmentTextLength = 32767;

// The whole file for the store's configuration. Under the store's lock it
// refreshes the block's header (counts, flag 0, checksum) and stores each
// launch-program and text-block record's text offset in its value field, so
// the block stays the file's first 32832 bytes. Throws std::bad_alloc.
std::vector<std::uint8_t> buildProfileFileImage(config::ConfigStore& store);

// The content of a file, read but not yet installed in a store.
struct ProfileFileContent {
    std::unique_ptr<config::AssignmentBlock> block;
    config::MacroList macros;
    config::AssignmentTexts texts;
};

// Reads the file's bytes without trusting its header: bytes the file lacks
// read as zero, at most 100 macros are taken (a macro wholly beyond the end
// is dropped), a text offset outside the text area gives an empty text and a
// text without terminator ends with the area. Macros come out normalised,
// saved and with unique ids from 1 to 100. nullopt when the bytes cannot
// hold a header. Throws std::bad_alloc.
std::optional<ProfileFileContent> parseProfileFileImage(std::span<const std::uint8_t> bytes);

// Makes the content the store's block, macros and texts; cannot fail.
void installProfileFileContent(config::ConfigStore& store, ProfileFileContent&& content);

}  // namespace quillmar::profiles
