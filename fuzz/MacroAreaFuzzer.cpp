// Any bytes read back from a keyboard as its macro area: decoding reads only
// inside them and yields macros the store can keep.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "config/MacroAreaDecoder.h"
#include "text/Texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const quillmar::text::BuiltInTexts texts;
    const auto macros = quillmar::config::decodeMacroArea(std::span(data, size), texts);
    if (!macros) return 0;
    if (macros->size() > quillmar::config::kMaxMacros) std::abort();
    for (const auto& macro : *macros) {
        if (macro.actionCount > quillmar::config::kMaxMacroActions) std::abort();
        if (macro.id < 1 || macro.id > quillmar::config::kLastMacroId) std::abort();
        if (quillmar::config::macroName(macro).empty()) std::abort();
    }
    return 0;
}
