#include "Doctor.h"
#include "FakeHidraw.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

using namespace quillmar::hidraw;
using namespace quillmar::hidraw::testing;
using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

namespace {

struct DoctorCase {
    const char* what;
    bool keyboard;
    OpenOutcome commandOpens;
    bool ruleWhereUdevLooks;
    bool ruleInInstallFolder;
    int exitCode;
    std::vector<std::string> said;
};

class Doctor : public ::testing::TestWithParam<DoctorCase> {};

SessionFacts localSession() {
    SessionFacts session;
    session.sessionId = "2";
    session.active = true;
    session.remote = false;
    session.seat = "seat0";
    return session;
}

} // namespace

TEST_P(Doctor, SaysWhatIsWrongAndWhatToDo) {
    const DoctorCase& c = GetParam();
    FakeHidraw fake;
    const fs::path udevFolder = fake.sysfsRoot().parent_path() / "udev";
    const fs::path installFolder = fake.sysfsRoot().parent_path() / "prefix";
    fs::create_directories(udevFolder);
    fs::create_directories(installFolder);
    if (c.ruleWhereUdevLooks) std::ofstream(udevFolder / kUdevRuleFileName) << "rule\n";
    if (c.ruleInInstallFolder) std::ofstream(installFolder / kUdevRuleFileName) << "rule\n";
    if (c.keyboard) {
        fake.plug({"hidraw2", "usb-1/input0", consumerDescriptor()});
        fake.plug({"hidraw3", "usb-1/input1", commandDescriptor()}, c.commandOpens);
    }
    fake.plug({"hidraw1", "usb-9/input0", commandDescriptor(), 0x046D, 0xC52B}); // not ours

    std::ostringstream out;
    DoctorFindings findings = examineSystem(fake, {udevFolder}, installFolder);
    findings.session = localSession();
    EXPECT_EQ(writeDoctorReport(findings, out), c.exitCode);
    for (const auto& sentence : c.said) EXPECT_THAT(out.str(), HasSubstr(sentence));
    EXPECT_THAT(out.str(), Not(HasSubstr("hidraw1")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Doctor,
    ::testing::Values(
        DoctorCase{"all well", true, OpenOutcome::Opens, true, false, 0,
                   {"hidraw3: command interface (usage page/usage FF1C/0092); you can open it.",
                    "hidraw2: consumer interface (usage page/usage 000C/0001)", "The udev rule is installed",
                    "Everything is in place"}},
        DoctorCase{"no rule, node closed", true, OpenOutcome::Denied, false, false, 1,
                   {"you cannot open it (Permission denied)", "is not installed",
                    "TAG+=\"uaccess\"' | sudo tee /etc/udev/rules.d/70-quillmar.rules",
                    "sudo udevadm control --reload-rules",
                    "sudo udevadm trigger --subsystem-match=hidraw --action=change"}},
        DoctorCase{"rule where udev does not look", true, OpenOutcome::Denied, false, true, 1,
                   {"udev does not read rules from that folder", "sudo tee"}},
        DoctorCase{"rule in place but node closed", true, OpenOutcome::Denied, true, false, 1,
                   {"Apply the rule without a replug", "sudo udevadm trigger --subsystem-match=hidraw --action=change",
                    "remote (ssh)"}},
        DoctorCase{"no keyboard", false, OpenOutcome::Opens, true, false, 1, {"No Quillmar keyboard"}}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST(DoctorWithoutCommandInterface, AsksForAnotherPort) {
    FakeHidraw fake;
    fake.plug({"hidraw2", "usb-1/input0", consumerDescriptor()});
    std::ostringstream out;
    DoctorFindings findings = examineSystem(fake, {}, "/nonexistent");
    findings.session = localSession();
    EXPECT_EQ(writeDoctorReport(findings, out), 1);
    EXPECT_THAT(out.str(), HasSubstr("command interface (FF1C/0092) is missing"));
}

// Who is asking matters as much as the rule: each case is all well but for one thing.
TEST(DoctorSession, SaysWhatAboutTheSessionStandsInTheWay) {
    struct Case {
        const char* what;
        std::function<void(SessionFacts&)> change;
        const char* said;
    };
    const std::vector<Case> cases = {
        {"root", [](SessionFacts& s) { s.root = true; }, "root may open every node"},
        {"ssh", [](SessionFacts& s) { s.ssh = true; }, "remote (ssh) session"},
        {"su", [](SessionFacts& s) { s.switchedUser = true; }, "(su or sudo)"},
        {"no session", [](SessionFacts& s) { s.sessionId.clear(); }, "No login session"},
        {"inactive seat", [](SessionFacts& s) { s.active = false; }, "not the active one on its seat (seat0)"},
        {"simulator", [](SessionFacts& s) { s.hidlaneOverride = "/opt/x/libhidlane-sim.so"; },
         "unset QUILLMAR_HIDLANE"},
    };
    FakeHidraw fake;
    const fs::path udevFolder = fake.sysfsRoot().parent_path() / "udev";
    fs::create_directories(udevFolder);
    std::ofstream(udevFolder / kUdevRuleFileName) << "rule\n";
    fake.plug({"hidraw3", "usb-1/input1", commandDescriptor()});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DoctorFindings findings = examineSystem(fake, {udevFolder}, "/nonexistent");
        findings.session = localSession();
        c.change(findings.session);
        std::ostringstream out;
        EXPECT_EQ(writeDoctorReport(findings, out), 1);
        EXPECT_THAT(out.str(), HasSubstr(c.said));
        EXPECT_THAT(out.str(), Not(HasSubstr("Everything is in place")));
    }
}

TEST(DoctorRights, ReadsOwnerModeAndUdevsTagOfANode) {
    const fs::path folder = fs::temp_directory_path() / ("doctor-rights-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "node";
    std::ofstream(file) << "x";
    fs::permissions(file, fs::perms(0640), fs::perm_options::replace);
    NodeRights rights = examineRights(file, folder);
    EXPECT_TRUE(rights.known);
    EXPECT_EQ(rights.mode, 0640u);
    EXPECT_FALSE(rights.owner.empty());
    EXPECT_FALSE(rights.uaccessTag.has_value()); // not a device: udev keeps no record
    EXPECT_FALSE(examineRights(folder / "missing", folder).known);

    // The null device stands in for a hidraw node: udev's record of it says whether it is tagged.
    struct stat info {};
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    const std::string record = "c" + std::to_string(major(info.st_rdev)) + ":" + std::to_string(minor(info.st_rdev));
    std::ofstream(folder / record) << "I:1\nG:seat\nG:uaccess\n";
    EXPECT_EQ(examineRights("/dev/null", folder).uaccessTag, std::optional<bool>(true));
    std::ofstream(folder / record) << "I:1\nG:seat\n";
    EXPECT_EQ(examineRights("/dev/null", folder).uaccessTag, std::optional<bool>(false));
    fs::remove_all(folder);
}
