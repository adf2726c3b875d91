#include "WindowReload.h"

#include "platform/LinuxPaths.h"
#include "platform/SocketInstanceSignal.h"

#include <algorithm>
#include <chrono>
#include <string>

namespace quillmar::ctl {
namespace {

// Long enough for the window's read-back; a window asking its user a
// question is not waited for.
constexpr std::chrono::seconds kReloadWait{5};

// The arguments other than "--profile N".
std::size_t settingCount(const std::vector<std::string>& arguments) {
    const auto option = std::ranges::find(arguments, "--profile");
    return option == arguments.end() ? arguments.size() : arguments.size() - std::min<std::size_t>(2, arguments.end() - option);
}

}  // namespace

bool changesTheKeyboard(const Invocation& invocation) {
    const std::string& command = invocation.command;
    if (command == "remap" || command == "import" || command == "restore") return true;
    if (command == "profile" || command == "rate" || command == "lighting") return settingCount(invocation.arguments) > 0;
    return false;
}

void askRunningWindowToReload() {
    platform::SocketInstanceSignal(platform::LinuxPaths().runtimeFolder(), kReloadWait)
        .SignalRunningInstance(platform::InstanceRequest::Reload);
}

}  // namespace quillmar::ctl
