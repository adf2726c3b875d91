// "quillmarctl doctor": finds the keyboard's hidraw nodes, says which ones this user can open
// and whether the udev rule is in place, and what to do about anything missing.
#pragma once

#include "HidrawSystem.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace quillmar::hidraw {

inline constexpr const char* kUdevRuleFileName = "70-quillmar.rules";

// Who may open a node: its owner and mode, the users its ACL names, and whether udev tagged
// it for uaccess (the tag that makes udev give the user at the screen access).
struct NodeRights {
    bool known = false; // false when the node could not be looked at
    std::string owner;
    unsigned mode = 0;
    std::vector<std::string> aclUsers;
    std::optional<bool> uaccessTag; // nothing when udev keeps no record of the node
};

struct DoctorNode {
    std::string devNode;
    std::string role; // "command", "consumer", "status" or "other"
    std::vector<std::pair<uint16_t, uint16_t>> usages;
    bool canOpen = false;
    int openError = 0;
    NodeRights rights;
};

// The login session this runs in: udev's uaccess gives the keyboard only to the user of the
// active local session of a seat.
struct SessionFacts {
    bool root = false;
    bool ssh = false;          // SSH_CONNECTION or SSH_TTY set
    bool switchedUser = false; // the login user is another one (su, sudo)
    std::string sessionId;     // empty: no login session
    std::optional<bool> active;
    std::optional<bool> remote;
    std::string seat;
    std::string hidlaneOverride; // QUILLMAR_HIDLANE
};

struct DoctorFindings {
    std::vector<DoctorNode> nodes;
    std::optional<std::filesystem::path> rule;  // where udev finds the rule
    std::optional<std::filesystem::path> strayRule; // installed where udev does not look
    SessionFacts session;
};

// The folders udev reads rules from, and the one this build installs into.
std::vector<std::filesystem::path> udevRuleFolders();
std::filesystem::path installedRuleFolder();

DoctorFindings examineSystem(HidrawSystem& system, const std::vector<std::filesystem::path>& ruleFolders,
                             const std::filesystem::path& installedFolder);

// The rights of a node as the running system has them; udevDataFolder is /run/udev/data.
NodeRights examineRights(const std::filesystem::path& devNode, const std::filesystem::path& udevDataFolder);
// This process's session, from its environment, /proc/self/loginuid and systemd-logind's
// record in sessionsFolder (/run/systemd/sessions).
SessionFacts examineSession(const std::filesystem::path& sessionsFolder);

// Writes the findings as plain sentences; returns 0 when all is well, 1 when something needs doing.
int writeDoctorReport(const DoctorFindings& findings, std::ostream& out);

int runDoctor(std::ostream& out);

// Whether a keyboard is plugged in whose command interface this user may not open.
bool keyboardPresentButClosed(HidrawSystem& system);
bool keyboardPresentButClosed();

// "quillmarctl doctor --dump": every keyboard node with its physical path and report
// descriptor, then a short exchange with the keyboard (the device info is asked for) with the
// library's report trace on, so an owner can send what the keyboard really does.
int runDoctorDump(std::ostream& out);

} // namespace quillmar::hidraw
