#include "Doctor.h"

#include "HidrawEnumeration.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>

namespace quillmar::hidraw {
namespace fs = std::filesystem;
namespace {

const char* const kRuleLine =
    "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"0c45\", ATTRS{idProduct}==\"7518\", TAG+=\"uaccess\"";

std::optional<fs::path> findRule(const std::vector<fs::path>& folders) {
    std::error_code error;
    for (const auto& folder : folders)
        if (fs::exists(folder / kUdevRuleFileName, error)) return folder / kUdevRuleFileName;
    return std::nullopt;
}

DoctorNode examineNode(HidrawSystem& system, const HidrawNode& node) {
    DoctorNode result;
    result.devNode = node.devNode.string();
    result.role = interfaceRole(node);
    for (const auto& c : node.descriptor.collections) result.usages.emplace_back(c.usagePage, c.usage);
    int fd = system.openNode(node.devNode, O_RDWR | O_NONBLOCK);
    result.canOpen = fd >= 0;
    result.openError = fd >= 0 ? 0 : errno;
    if (fd >= 0) system.closeNode(fd);
    return result;
}

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

void describeNode(const DoctorNode& node, std::ostream& out) {
    out << node.devNode << ": " << node.role << " interface (usage page/usage";
    for (const auto& [page, usage] : node.usages) out << " " << hex4(page) << "/" << hex4(usage);
    if (node.usages.empty()) out << " none";
    out << "); ";
    if (node.canOpen) out << "you can open it.\n";
    else out << "you cannot open it (" << std::strerror(node.openError) << ").\n";
}

void adviseRuleInstall(std::ostream& out) {
    out << "To install it, run these commands, then unplug the keyboard and plug it in again:\n"
        << "  echo '" << kRuleLine << "' | sudo tee /etc/udev/rules.d/" << kUdevRuleFileName << "\n"
        << "  sudo udevadm control --reload-rules\n";
}

bool describeRule(const DoctorFindings& findings, std::ostream& out) {
    if (findings.rule) {
        out << "The udev rule is installed: " << findings.rule->string() << ".\n";
        return true;
    }
    if (findings.strayRule)
        out << "The udev rule was installed as " << findings.strayRule->string()
            << ", but udev does not read rules from that folder.\n";
    else
        out << "The udev rule that lets you use the keyboard without root (" << kUdevRuleFileName
            << ") is not installed.\n";
    adviseRuleInstall(out);
    return false;
}

} // namespace

std::vector<fs::path> udevRuleFolders() {
    return {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/local/lib/udev/rules.d", "/usr/lib/udev/rules.d",
            "/lib/udev/rules.d"};
}

fs::path installedRuleFolder() { return QUILLMAR_INSTALLED_RULES_DIR; }

DoctorFindings examineSystem(HidrawSystem& system, const std::vector<fs::path>& ruleFolders,
                             const fs::path& installedFolder) {
    DoctorFindings findings;
    for (const auto& node : keyboardNodes(enumerateHidrawNodes(system)))
        findings.nodes.push_back(examineNode(system, node));
    findings.rule = findRule(ruleFolders);
    if (!findings.rule) findings.strayRule = findRule({installedFolder});
    return findings;
}

int writeDoctorReport(const DoctorFindings& findings, std::ostream& out) {
    const bool ruleFine = describeRule(findings, out);
    if (findings.nodes.empty()) {
        out << "No Quillmar keyboard (USB 0C45:7518) is connected. Plug it in and run this again.\n";
        return 1;
    }
    out << "Quillmar keyboard interfaces found: " << findings.nodes.size() << ".\n";
    for (const auto& node : findings.nodes) describeNode(node, out);

    bool needsDoing = !ruleFine;
    const bool hasCommand = std::any_of(findings.nodes.begin(), findings.nodes.end(),
                                        [](const DoctorNode& n) { return n.role == "command"; });
    if (!hasCommand) {
        out << "The keyboard's command interface (FF1C/0092) is missing, so its settings cannot be read or "
               "written. Plug the keyboard into another USB port.\n";
        needsDoing = true;
    }
    const bool allOpen = std::all_of(findings.nodes.begin(), findings.nodes.end(),
                                     [](const DoctorNode& n) { return n.canOpen; });
    if (!allOpen && ruleFine) {
        out << "Some interfaces cannot be opened although the rule is installed. Unplug the keyboard and "
               "plug it in again. The rule gives access only to the user logged in at this computer's "
               "screen, not to remote (ssh) sessions.\n";
        needsDoing = true;
    }
    if (!needsDoing) out << "Everything is in place: you can use the keyboard without root.\n";
    return needsDoing ? 1 : 0;
}

int runDoctor(std::ostream& out) {
    auto system = makeLinuxHidrawSystem();
    return writeDoctorReport(examineSystem(*system, udevRuleFolders(), installedRuleFolder()), out);
}

} // namespace quillmar::hidraw
