#include <gtest/gtest.h>

#include <numeric>

#include "config/AssignmentBlockHeader.h"
#include "config/AssignmentTextPacking.h"
#include "config/ConfigStore.h"

namespace quillmar::config {
namespace {

using keyboard::AssignmentType;
using Bytes = std::vector<std::uint8_t>;

TEST(RefreshBlockHeader, WritesEveryFieldAndTheChecksum) {
    AssignmentBlock block;
    block.header.fill(0xEE);
    refreshBlockHeader(block, 2, 22);
    const std::uint32_t total = 2 * 16512 + 22 + 32832;
    const Bytes expected = {0x46, 0x44, 32, 0, 3, 0, 1, 0,
                            static_cast<std::uint8_t>(total), static_cast<std::uint8_t>(total >> 8),
                            static_cast<std::uint8_t>(total >> 16), 0, 0x00, 0x08, 2, 0, 22, 0, 0, 0};
    EXPECT_EQ(Bytes(block.header.begin(), block.header.begin() + 20), expected);
    EXPECT_EQ(Bytes(block.header.begin() + 20, block.header.begin() + 31), Bytes(11, 0)) << "reserved and flag";
    const unsigned sum = std::accumulate(block.header.begin(), block.header.begin() + 31, 0u);
    EXPECT_EQ(block.header[31], static_cast<std::uint8_t>(sum));
}

TEST(PackAssignmentTexts, PacksTextsOfTextRecordsInRecordOrder) {
    ConfigStore store;
    auto records = store.records();
    records[700].type = AssignmentType::LaunchProgram;
    records[10].type = AssignmentType::TextBlock;
    records[20].type = AssignmentType::Key;  // a stale text: counted, not packed
    records[20].value = 0x30;
    store.texts().setText(700, u"/bin/ls -l");
    store.texts().setText(10, u"hi");
    store.texts().setText(20, u"old");

    const Bytes area = packAssignmentTexts(store.texts(), records);
    ASSERT_EQ(area.size(), 6u + 22 + 8);
    EXPECT_EQ(records[10].value, 0u);
    EXPECT_EQ(records[700].value, 6u);
    EXPECT_EQ(records[20].value, 0x30u) << "other records keep their value";
    EXPECT_EQ(Bytes(area.begin(), area.begin() + 6), (Bytes{'h', 0, 'i', 0, 0, 0}));
    EXPECT_EQ(area[6], '/');
    EXPECT_EQ(area[6 + 18], 'l');
    EXPECT_EQ(Bytes(area.begin() + 26, area.end()), Bytes(10, 0)) << "terminator, then the unused rest";
}

}  // namespace
}  // namespace quillmar::config
