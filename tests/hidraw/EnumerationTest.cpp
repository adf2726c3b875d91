#include "FakeHidraw.h"
#include "HidrawEnumeration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quillmar::hidraw;
using namespace quillmar::hidraw::testing;

namespace {
const HidSelector kCommand = hidlane_selector(HIDLANE_COMMAND_USAGE_PAGE, HIDLANE_COMMAND_USAGE);
const HidSelector kConsumer = hidlane_selector(HIDLANE_CONSUMER_USAGE_PAGE, HIDLANE_CONSUMER_USAGE);

std::vector<std::string> namesOf(const std::vector<HidrawNode>& nodes) {
    std::vector<std::string> names;
    for (const auto& n : nodes) names.push_back(n.name);
    return names;
}
} // namespace

TEST(HidrawEnumeration, GroupsInterfacesByKeyboardAndOrdersByNumber) {
    FakeHidraw fake;
    fake.plugKeyboard(10, "2");
    fake.plugKeyboard(2, "1");
    fake.plug({"hidraw0", "usb-0000:00:14.0-3/input0", commandDescriptor(), 0x1234, 0x7518}); // another maker
    auto nodes = enumerateHidrawNodes(fake);

    EXPECT_EQ(namesOf(nodes), (std::vector<std::string>{"hidraw0", "hidraw2", "hidraw3", "hidraw4", "hidraw10",
                                                          "hidraw11", "hidraw12"}));
    EXPECT_EQ(countMatchingDevices(nodes, kCommand), 2);
    EXPECT_EQ(firstMatchingNode(nodes, kCommand)->name, "hidraw3");
    EXPECT_EQ(firstMatchingNode(nodes, kConsumer)->name, "hidraw2");
    EXPECT_EQ(firstMatchingNode(nodes, kCommand)->devNode, fake.devRoot() / "hidraw3");
    EXPECT_EQ(keyboardNodes(nodes).size(), 6u);
    EXPECT_STREQ(interfaceRole(nodes[2]), "command");
}

TEST(HidrawEnumeration, SelectorMaskDecidesWhatIsCompared) {
    FakeHidraw fake;
    fake.plug({"hidraw1", "usb-1/input0", commandDescriptor(), 0x0C45, 0x9999});
    auto nodes = enumerateHidrawNodes(fake);
    HidSelector selector = kCommand;
    EXPECT_EQ(countMatchingDevices(nodes, selector), 0);
    selector.matchMask = 0x1 | 0x4 | 0x8; // vendor and usage only
    EXPECT_EQ(countMatchingDevices(nodes, selector), 1);
}

TEST(HidrawEnumeration, SkipsEntriesThatCannotBeRead) {
    FakeHidraw fake;
    fake.plug({"hidraw1", "usb-1/input0", commandDescriptor()});
    fake.plug({"hidraw2", "usb-2/input0", commandDescriptor()});
    const auto hidraw2 = fake.sysfsRoot() / "class" / "hidraw" / "hidraw2" / "device";
    std::filesystem::remove(hidraw2 / "report_descriptor"); // gone half-way through a removal
    std::filesystem::create_directories(fake.sysfsRoot() / "class" / "hidraw" / "notahidraw" / "device");
    std::ofstream(fake.sysfsRoot() / "class" / "hidraw" / "hidraw3" / "uevent") << "HID_ID=garbage\n";

    EXPECT_EQ(namesOf(enumerateHidrawNodes(fake)), std::vector<std::string>{"hidraw1"});
}

TEST(HidrawEnumeration, NoSysfsFolderMeansNoNodes) {
    FakeHidraw fake;
    std::filesystem::remove_all(fake.sysfsRoot());
    EXPECT_TRUE(enumerateHidrawNodes(fake).empty());
}
