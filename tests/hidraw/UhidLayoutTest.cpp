#include "ReportDescriptor.h"
#include "UhidLayout.h"

#include <gtest/gtest.h>

using namespace quillmar::hidraw;
using namespace quillmar::uhid;

namespace {
ReportDescriptor parsed(const UhidInterface& interface) {
    return parseReportDescriptor(interface.descriptor.data(), interface.descriptor.size());
}
} // namespace

// The virtual keyboard's descriptors must say what the library reads from a real one.
TEST(UhidLayout, DescriptorsCarryTheReportsTheLibraryExpects) {
    for (bool shared : {false, true}) {
        SCOPED_TRACE(shared ? "shared interface" : "three interfaces");
        const auto interfaces = keyboardInterfaces("usb-x-1", shared);
        ASSERT_EQ(interfaces.size(), shared ? 2u : 3u);
        for (size_t i = 0; i < interfaces.size(); ++i)
            EXPECT_EQ(interfaces[i].phys, "usb-x-1/input" + std::to_string(i));

        const TopLevelCollection* command = nullptr;
        const TopLevelCollection* consumer = nullptr;
        const TopLevelCollection* status = nullptr;
        std::vector<ReportDescriptor> descriptors;
        for (const auto& interface : interfaces) descriptors.push_back(parsed(interface));
        for (const auto& d : descriptors) {
            EXPECT_TRUE(d.numberedReports);
            if (auto c = d.collection(0xFF1C, 0x0092)) command = c;
            if (auto c = d.collection(0x000C, 0x0001)) consumer = c;
            if (auto c = d.collection(0x0008, 0x0089)) status = c;
        }
        ASSERT_TRUE(command && consumer && status);
        EXPECT_EQ(command->input, (ReportLengths{{4, 63}}));
        EXPECT_EQ(command->output, (ReportLengths{{4, 63}}));
        EXPECT_EQ(consumer->input, (ReportLengths{{3, 2}}));
        EXPECT_EQ(status->output, (ReportLengths{{5, 1}}));
        EXPECT_EQ(shared, descriptors[0].collections.size() == 2);
    }
}
