#pragma once

#include <functional>

namespace quillmar::shell {

// What a key button click asks of the composite key and macro dialog: the
// slot to edit in the current profile, the button showing it, and whether it
// is G9, which may only play macros.
struct CompositeRequest {
    int slot = 0;
    int buttonId = 0;
    bool isG9 = false;
};

// Opens the dialog modally on the request and returns when it closes.
using CompositeOpener = std::function<void(const CompositeRequest&)>;

}  // namespace quillmar::shell
