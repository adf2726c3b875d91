#include "CommandSupport.h"
#include "Commands.h"
#include "ExitCodes.h"
#include "KeyboardSession.h"
#include "ProfileNumber.h"

#include "device/KeyboardLock.h"
#include "device/ResultCode.h"

#include <array>
#include <cstdint>
#include <ostream>

namespace quillmar::ctl {

namespace {

constexpr std::size_t kEffectListStart = 12;

}  // namespace

int runInfo(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!invocation.arguments.empty()) {
        err << kUsageText;
        return kExitBadUsage;
    }
    auto session = openOrComplain(invocation, err);
    if (!session) return kExitKeyboardError;

    std::array<std::uint8_t, device::kDeviceInfoBytes> info{};
    const int result = session->commands().ReadDeviceInfo(info);
    if (result != device::kSuccess) return keyboardError(result, err);

    out << "active profile: " << info[device::kDeviceInfoActiveProfile] + 1 << '\n';
    out << "macro memory: " << info[device::kDeviceInfoMacroMemory] * 128 << '\n';
    out << "effects:";
    for (std::size_t i = kEffectListStart; i < info.size(); ++i) {
        if (info[i] != 0) out << ' ' << int{info[i]};
    }
    out << '\n';
    return kExitDone;
}

int runProfile(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    std::optional<int> wanted;
    if (invocation.arguments.size() > 1) {
        err << kUsageText;
        return kExitBadUsage;
    }
    if (invocation.arguments.size() == 1) {
        wanted = parseProfileNumber(invocation.arguments[0]);
        if (!wanted) {
            err << "quillmarctl: the profile is 1, 2 or 3\n" << kUsageText;
            return kExitBadUsage;
        }
    }
    auto session = openOrComplain(invocation, err);
    if (!session) return kExitKeyboardError;

    const device::KeyboardLock keyboard;
    device::DeviceCommands& commands = session->commands();
    if (wanted) {
        const int result = commands.SetActiveProfile(*wanted);
        if (result != device::kSuccess) return keyboardError(result, err);
    }
    const int active = commands.GetActiveProfile();
    if (active < 0) return keyboardError(device::kNoAnswer, err);
    out << "active profile: " << active + 1 << '\n';
    return kExitDone;
}

}  // namespace quillmar::ctl
