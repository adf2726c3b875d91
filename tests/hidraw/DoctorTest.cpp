#include "Doctor.h"
#include "FakeHidraw.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
    EXPECT_EQ(writeDoctorReport(examineSystem(fake, {udevFolder}, installFolder), out), c.exitCode);
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
                    "sudo udevadm control --reload-rules"}},
        DoctorCase{"rule where udev does not look", true, OpenOutcome::Denied, false, true, 1,
                   {"udev does not read rules from that folder", "sudo tee"}},
        DoctorCase{"rule in place but node closed", true, OpenOutcome::Denied, true, false, 1,
                   {"Unplug the keyboard and plug it in again", "remote (ssh)"}},
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
    EXPECT_EQ(writeDoctorReport(examineSystem(fake, {}, "/nonexistent"), out), 1);
    EXPECT_THAT(out.str(), HasSubstr("command interface (FF1C/0092) is missing"));
}
