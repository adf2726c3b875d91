#pragma once

#include <string>
#include <vector>

namespace quillmar::platform {

inline constexpr int kNamedEventCount = 210;

// "Quillmar_Event_Main_01" .. "Quillmar_Event_Main_210".
std::string namedEventName(int number);

// The program's named events. Nothing waits on them or signals them; they
// exist from the main window's initialisation to its shutdown.
class NamedEvents {
public:
    void create();
    void close();
    bool isOpen() const { return !names_.empty(); }
    const std::vector<std::string>& names() const { return names_; }

private:
    std::vector<std::string> names_;
};

}  // namespace quillmar::platform
