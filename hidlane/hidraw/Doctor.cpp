#include "Doctor.h"

#include "HidrawEnumeration.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
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
    result.rights = examineRights(node.devNode, "/run/udev/data");
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

const char* const kApplyRuleCommand = "sudo udevadm trigger --subsystem-match=hidraw --action=change";

void adviseRuleInstall(std::ostream& out) {
    out << "To install it and apply it to the keyboard as it is plugged in, run these commands:\n"
        << "  echo '" << kRuleLine << "' | sudo tee /etc/udev/rules.d/" << kUdevRuleFileName << "\n"
        << "  sudo udevadm control --reload-rules\n"
        << "  " << kApplyRuleCommand << "\n";
}

std::string userName(uid_t uid) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(4096);
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->pw_name;
    return std::to_string(uid);
}

// The named users of a POSIX ACL in its extended-attribute form: a 4-byte version, then
// entries of tag (u16), permissions (u16) and id (u32), little-endian.
std::vector<std::string> aclUsers(const fs::path& node) {
    constexpr uint16_t kAclUser = 0x02;
    std::vector<uint8_t> bytes(4096);
    const ssize_t n = ::getxattr(node.c_str(), "system.posix_acl_access", bytes.data(), bytes.size());
    std::vector<std::string> users;
    for (ssize_t at = 4; n > 0 && at + 8 <= n; at += 8) {
        const uint16_t tag = uint16_t(bytes[at] | bytes[at + 1] << 8);
        const uint32_t id = uint32_t(bytes[at + 4] | bytes[at + 5] << 8 | bytes[at + 6] << 16 | uint32_t(bytes[at + 7]) << 24);
        if (tag == kAclUser) users.push_back(userName(id));
    }
    return users;
}

// udev's record of a device lists its tags as "G:" lines (and "Q:" for current tags).
std::optional<bool> uaccessTagged(const fs::path& record) {
    std::ifstream in(record);
    if (!in) return std::nullopt;
    std::string line;
    while (std::getline(in, line))
        if (line == "G:uaccess" || line == "Q:uaccess") return true;
    return false;
}

std::string readFirstLine(const fs::path& path) {
    std::string line;
    std::ifstream in(path);
    std::getline(in, line);
    return line;
}

std::string keyValue(const fs::path& file, const std::string& key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return {};
}

std::string octal(unsigned mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", mode & 07777);
    return text;
}

void describeRights(const DoctorNode& node, std::ostream& out) {
    const NodeRights& rights = node.rights;
    if (!rights.known) return;
    out << "  owner " << rights.owner << ", mode " << octal(rights.mode) << ", ACL users: ";
    if (rights.aclUsers.empty()) out << "none";
    for (size_t i = 0; i < rights.aclUsers.size(); ++i) out << (i ? ", " : "") << rights.aclUsers[i];
    out << "; uaccess tag: "
        << (!rights.uaccessTag ? "unknown (udev keeps no record of it)" : *rights.uaccessTag ? "yes" : "no") << ".\n";
}

bool isSimulatorLibrary(const std::string& value) {
    return value == "sim" || fs::path(value).filename().string().find("hidlane-sim") != std::string::npos;
}

// Sentences about who is asking; true when something stands in the way.
bool describeSession(const SessionFacts& session, std::ostream& out) {
    bool inTheWay = false;
    if (isSimulatorLibrary(session.hidlaneOverride)) {
        out << "QUILLMAR_HIDLANE is set to \"" << session.hidlaneOverride
            << "\": the program talks to the simulated keyboard, not to this one. Unset it: unset QUILLMAR_HIDLANE\n";
        inTheWay = true;
    }
    if (session.root) {
        out << "You are running this as root, and root may open every node: whether your own user can is not "
               "shown here. Run \"quillmarctl doctor\" again as yourself, without sudo.\n";
        return true;
    }
    if (session.ssh) {
        out << "This is a remote (ssh) session. udev's rule gives the keyboard only to the user at this "
               "computer's screen; run the program in the desktop session there.\n";
        inTheWay = true;
    }
    if (session.switchedUser) {
        out << "This shell was switched to another user (su or sudo) than the one who logged in; the rule gives "
               "the keyboard to the user who logged in at the screen.\n";
        inTheWay = true;
    }
    if (session.sessionId.empty()) {
        out << "No login session was found for this process (XDG_SESSION_ID is not set), so udev's rule gives "
               "it nothing; run the program from the desktop.\n";
        return true;
    }
    if (session.remote.value_or(false) && !session.ssh) {
        out << "Login session " << session.sessionId << " is a remote one; the rule gives the keyboard only to a "
            << "local session.\n";
        inTheWay = true;
    }
    if (!session.active.value_or(true)) {
        out << "Login session " << session.sessionId << " is not the active one on its seat"
            << (session.seat.empty() ? "" : " (" + session.seat + ")")
            << ": another user's desktop is in front. Switch to your desktop; the keyboard follows the active session.\n";
        inTheWay = true;
    }
    return inTheWay;
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
    const bool sessionInTheWay = describeSession(findings.session, out);
    if (findings.nodes.empty()) {
        out << "No Quillmar keyboard (USB 0C45:7518) is connected. Plug it in and run this again.\n";
        return 1;
    }
    out << "Quillmar keyboard interfaces found: " << findings.nodes.size() << ".\n";
    for (const auto& node : findings.nodes) {
        describeNode(node, out);
        describeRights(node, out);
    }

    bool needsDoing = !ruleFine || sessionInTheWay;
    const bool untagged = std::any_of(findings.nodes.begin(), findings.nodes.end(), [](const DoctorNode& n) {
        return n.rights.uaccessTag.has_value() && !*n.rights.uaccessTag;
    });
    if (ruleFine && untagged) {
        out << "The rule has not taken effect on every node (no uaccess tag). Apply it without a replug:\n"
            << "  " << kApplyRuleCommand << "\n";
        needsDoing = true;
    }
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
        out << "Some interfaces cannot be opened although the rule is installed. Apply the rule without a "
               "replug (or unplug the keyboard and plug it in again):\n"
            << "  " << kApplyRuleCommand << "\n"
            << "The rule gives access only to the user logged in at this computer's screen, not to remote "
               "(ssh) sessions.\n";
        needsDoing = true;
    }
    if (!needsDoing) out << "Everything is in place: you can use the keyboard without root.\n";
    return needsDoing ? 1 : 0;
}

NodeRights examineRights(const fs::path& devNode, const fs::path& udevDataFolder) {
    NodeRights rights;
    struct stat info {};
    if (::stat(devNode.c_str(), &info) != 0) return rights;
    rights.known = true;
    rights.owner = userName(info.st_uid);
    rights.mode = info.st_mode & 07777;
    rights.aclUsers = aclUsers(devNode);
    if (S_ISCHR(info.st_mode))
        rights.uaccessTag = uaccessTagged(udevDataFolder / ("c" + std::to_string(major(info.st_rdev)) + ":" +
                                                            std::to_string(minor(info.st_rdev))));
    return rights;
}

SessionFacts examineSession(const fs::path& sessionsFolder) {
    SessionFacts facts;
    facts.root = ::geteuid() == 0;
    facts.ssh = std::getenv("SSH_CONNECTION") || std::getenv("SSH_TTY");
    constexpr const char* kUnset = "4294967295";
    const std::string loginUid = readFirstLine("/proc/self/loginuid");
    facts.switchedUser = !loginUid.empty() && loginUid != kUnset && loginUid != std::to_string(::getuid());
    if (const char* id = std::getenv("XDG_SESSION_ID"); id && *id) facts.sessionId = id;
    else if (std::string id = readFirstLine("/proc/self/sessionid"); !id.empty() && id != kUnset) facts.sessionId = id;
    if (!facts.sessionId.empty() && facts.sessionId.find('/') == std::string::npos) {
        const fs::path record = sessionsFolder / facts.sessionId;
        if (std::string active = keyValue(record, "ACTIVE"); !active.empty()) facts.active = active == "1";
        if (std::string remote = keyValue(record, "REMOTE"); !remote.empty()) facts.remote = remote == "1";
        facts.seat = keyValue(record, "SEAT");
    }
    if (const char* library = std::getenv("QUILLMAR_HIDLANE")) facts.hidlaneOverride = library;
    return facts;
}

bool keyboardPresentButClosed(HidrawSystem& system) {
    for (const auto& node : keyboardNodes(enumerateHidrawNodes(system))) {
        if (std::string(interfaceRole(node)) != "command") continue;
        const int fd = system.openNode(node.devNode, O_RDWR | O_NONBLOCK);
        if (fd >= 0) {
            system.closeNode(fd);
            continue;
        }
        if (errno == EACCES || errno == EPERM) return true;
    }
    return false;
}

bool keyboardPresentButClosed() { return keyboardPresentButClosed(*makeLinuxHidrawSystem()); }

int runDoctor(std::ostream& out) {
    auto system = makeLinuxHidrawSystem();
    DoctorFindings findings = examineSystem(*system, udevRuleFolders(), installedRuleFolder());
    findings.session = examineSession("/run/systemd/sessions");
    return writeDoctorReport(findings, out);
}

} // namespace quillmar::hidraw
