#include "platform/NamedEvents.h"

#include <cstdio>

namespace quillmar::platform {

std::string namedEventName(int number) {
    char name[64];
    std::snprintf(name, sizeof name, "%sMain_%02d", "Quillmar_Event_", number);
    return name;
}

void NamedEvents::create() {
    names_.clear();
    names_.reserve(kNamedEventCount);
    for (int number = 1; number <= kNamedEventCount; ++number) names_.push_back(namedEventName(number));
}

void NamedEvents::close() { names_.clear(); }

}  // namespace quillmar::platform
