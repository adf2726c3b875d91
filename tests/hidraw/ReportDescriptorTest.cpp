#include "ReportDescriptor.h"

#include <gtest/gtest.h>

#include <vector>

using quillmar::hidraw::parseReportDescriptor;

namespace {

struct DescriptorCase {
    const char* what;
    std::vector<uint8_t> bytes;
    std::vector<std::pair<uint16_t, uint16_t>> collections;
    bool numbered;
};

std::vector<std::pair<uint16_t, uint16_t>> usagesOf(const std::vector<uint8_t>& bytes) {
    std::vector<std::pair<uint16_t, uint16_t>> usages;
    for (const auto& c : parseReportDescriptor(bytes.data(), bytes.size()).collections)
        usages.emplace_back(c.usagePage, c.usage);
    return usages;
}

} // namespace

TEST(ReportDescriptor, FindsTopLevelCollectionsAndReportIds) {
    const std::vector<DescriptorCase> cases = {
        {"vendor command interface",
         {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0xC0},
         {{0xFF1C, 0x0092}},
         true},
        {"four-byte usage names its own page",
         {0x05, 0x01, 0x0B, 0x92, 0x00, 0x1C, 0xFF, 0xA1, 0x01, 0xC0},
         {{0xFF1C, 0x0092}},
         false},
        {"two top-level collections, nested ones ignored",
         {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x09, 0xE9, 0xA1, 0x02, 0xC0, 0xC0,
          0x05, 0x01, 0x09, 0x80, 0xA1, 0x01, 0x85, 0x03, 0xC0},
         {{0x000C, 0x0001}, {0x0001, 0x0080}},
         true},
        {"pop brings the pushed usage page back",
         {0x05, 0x08, 0xA4, 0x05, 0x0C, 0xB4, 0x09, 0x89, 0xA1, 0x01, 0xC0},
         {{0x0008, 0x0089}},
         false},
        {"long item skipped", {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0},
         {{0x000C, 0x0001}},
         false},
        {"truncated item ends the parse", {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0, 0x06, 0x1C}, {{0x000C, 0x0001}},
         false},
        {"stray end collection", {0xC0, 0xC0, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0}, {{0x000C, 0x0001}}, false},
        {"empty", {}, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(usagesOf(c.bytes), c.collections);
        EXPECT_EQ(parseReportDescriptor(c.bytes.data(), c.bytes.size()).numberedReports, c.numbered);
    }
}

TEST(ReportDescriptor, KeepsEachCollectionsReportsWithTheirLengths) {
    // The consumer collection's id 3 is declared before its Collection item; the status
    // collection declares id 9 but no field with it, so it has no report 9; id 5 is pushed
    // and popped around an output field of id 6.
    const std::vector<uint8_t> bytes = {
        0x85, 0x03, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,
        0x05, 0x08, 0x09, 0x89, 0xA1, 0x01, 0x85, 0x05, 0x75, 0x08, 0x95, 0x01, 0x91, 0x02,
        0xA4, 0x85, 0x06, 0x95, 0x03, 0x91, 0x02, 0xB4, 0x95, 0x02, 0xB1, 0x02, 0x85, 0x09, 0xC0,
        0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x75, 0x01, 0x95, 0x0C, 0x81, 0x02, 0xC0};
    auto descriptor = parseReportDescriptor(bytes.data(), bytes.size());
    ASSERT_EQ(descriptor.collections.size(), 3u);
    using Lengths = quillmar::hidraw::ReportLengths;
    const auto& consumer = descriptor.collections[0];
    EXPECT_EQ(consumer.input, (Lengths{{3, 2}}));
    EXPECT_TRUE(consumer.output.empty());
    const auto& status = descriptor.collections[1];
    EXPECT_EQ(status.output, (Lengths{{5, 1}, {6, 3}}));
    EXPECT_EQ(status.feature, (Lengths{{5, 2}}));
    EXPECT_EQ(status.reportIds(), (std::vector<uint8_t>{5, 6}));
    // Bits are rounded up to whole bytes; the id stays the last one declared (9).
    EXPECT_EQ(descriptor.collections[2].input, (Lengths{{9, 2}}));
    EXPECT_TRUE(descriptor.offers(0x0008, 0x0089));
    EXPECT_FALSE(descriptor.offers(0x0008, 0x0001));
    EXPECT_EQ(descriptor.collection(0x000C, 0x0001), &descriptor.collections[0]);
}

TEST(ReportDescriptor, AbsurdSizesAreCappedAtTheKernelsLargestReport) {
    const std::vector<uint8_t> bytes = {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF,
                                        0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0x81, 0x02, 0xC0};
    auto descriptor = parseReportDescriptor(bytes.data(), bytes.size());
    ASSERT_EQ(descriptor.collections.size(), 1u);
    EXPECT_EQ(descriptor.collections[0].input.at(0), 16384u);
}
