#include "device/DeviceReport.h"
#include "device/LinkFixture.h"
#include "device/ResultCode.h"

#include <gmock/gmock.h>

#include <functional>

namespace quillmar::device::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

Bytes head(const FakeHidService::Report& report) { return Bytes(report.begin(), report.begin() + 8); }

class DeviceCommandsTest : public LinkFixture {
protected:
    DeviceCommands& commands() { return link->commands(); }

    // Length and address of every written report.
    std::vector<std::pair<int, int>> pieces() const {
        std::vector<std::pair<int, int>> result;
        for (const auto& w : fake.writes()) result.emplace_back(w[4], w[5] | w[6] << 8);
        return result;
    }
};

// The requests exactly as the keyboard has always received them.
TEST_F(DeviceCommandsTest, RequestsAreByteExact) {
    std::array<std::uint8_t, kDeviceInfoBytes> info{};
    std::array<std::uint8_t, kKeyBlockBytes> block{};
    const std::uint8_t two = 2;
    ASSERT_EQ(commands().BeginUpdate(), kSuccess);
    ASSERT_EQ(commands().EndUpdate(), kSuccess);
    ASSERT_EQ(commands().ReadDeviceInfo(info), kSuccess);
    ASSERT_EQ(commands().ReadProfileKeys(2, block), kSuccess);
    ASSERT_EQ(commands().WriteSettings(57, std::span(&two, 1)), kSuccess);

    const auto writes = fake.writes();
    ASSERT_EQ(writes.size(), 11u);
    EXPECT_THAT(head(writes[0]), ElementsAre(0x04, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00));
    EXPECT_THAT(head(writes[1]), ElementsAre(0x04, 0x02, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00));
    EXPECT_THAT(head(writes[2]), ElementsAre(0x04, 0x2F, 0x00, 0x03, 0x2C, 0x00, 0x00, 0x00));
    EXPECT_THAT(head(writes[3]), ElementsAre(0x04, 0x35, 0x01, 0x07, 0x38, 0xF4, 0x02, 0x00));
    EXPECT_THAT(head(writes[9]), ElementsAre(0x04, 0x79, 0x00, 0x07, 0x2A, 0x44, 0x04, 0x00));
    EXPECT_THAT(head(writes[10]), ElementsAre(0x04, 0x42, 0x00, 0x06, 0x01, 0x39, 0x00, 0x00));
    EXPECT_EQ(writes[10][8], 0x02);
    for (std::size_t i : {0, 1, 2, 3, 9}) {
        EXPECT_TRUE(std::all_of(writes[i].begin() + 8, writes[i].end(), [](auto b) { return b == 0; }))
            << "request " << i;
    }
}

TEST_F(DeviceCommandsTest, KeyBlockGoesInSevenPiecesAndComesBackWhole) {
    std::array<std::uint8_t, kKeyBlockBytes> block{};
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 3 + 1);
    ASSERT_EQ(commands().WriteProfileKeys(2, block), kSuccess);
    EXPECT_THAT(pieces(), ElementsAre(std::pair(56, 756), std::pair(56, 812), std::pair(56, 868),
                                      std::pair(56, 924), std::pair(56, 980), std::pair(56, 1036),
                                      std::pair(42, 1092)));

    std::array<std::uint8_t, kKeyBlockBytes> readBack{};
    ASSERT_EQ(commands().ReadProfileKeys(2, readBack), kSuccess);
    EXPECT_EQ(readBack, block);
    EXPECT_EQ(fake.memoryByte(7, 756 + 377), block[377]);
}

// A piece goes alone to base + offset; a read of it leaves the rest of the
// caller's block as it was.
TEST_F(DeviceCommandsTest, SelectedPiecesAloneAreWrittenAndRead) {
    std::array<std::uint8_t, kKeyBlockBytes> block{};
    block.fill(0x11);
    const PieceSelection secondAndLast = [](std::size_t offset) { return offset == 56 || offset == 336; };
    ASSERT_EQ(commands().WriteProfileKeys(1, block, secondAndLast), kSuccess);
    EXPECT_THAT(pieces(), ElementsAre(std::pair(56, 378 + 56), std::pair(42, 378 + 336)));

    std::array<std::uint8_t, kKeyBlockBytes> readBack{};
    readBack.fill(0xEE);
    ASSERT_EQ(commands().ReadProfileKeys(1, readBack, secondAndLast), kSuccess);
    EXPECT_EQ(readBack[0], 0xEE);
    EXPECT_EQ(readBack[56], 0x11);
    EXPECT_EQ(readBack[377], 0x11);
    EXPECT_EQ(fake.writes().size(), 4u);
}

TEST_F(DeviceCommandsTest, DefaultLayoutIsReadFromAddressZero) {
    std::array<std::uint8_t, kKeyBlockBytes> layout{};
    ASSERT_EQ(commands().ReadDefaultLayout(layout), kSuccess);
    EXPECT_EQ(pieces().front(), std::pair(56, 0));
    EXPECT_EQ(pieces().back(), std::pair(42, 336));
    EXPECT_EQ(layout[100], fake.memoryByte(15, 100));
}

TEST_F(DeviceCommandsTest, MacroAreaIsCutAtFiftySixBytes) {
    Bytes area(57);
    for (std::size_t i = 0; i < area.size(); ++i) area[i] = static_cast<std::uint8_t>(0x80 + i);
    ASSERT_EQ(commands().WriteMacroArea(area), kSuccess);
    EXPECT_THAT(pieces(), ElementsAre(std::pair(56, 0), std::pair(1, 56)));
    EXPECT_EQ(fake.writes()[1][8], area[56]);

    Bytes readBack(57);
    ASSERT_EQ(commands().ReadMacroArea(readBack), kSuccess);
    EXPECT_EQ(readBack, area);
}

TEST_F(DeviceCommandsTest, EmptyMacroAreaSendsNothing) {
    EXPECT_EQ(commands().WriteMacroArea({}), kSuccess);
    EXPECT_EQ(commands().ReadMacroArea({}), kSuccess);
    EXPECT_TRUE(fake.writes().empty());
}

TEST_F(DeviceCommandsTest, KeyColoursAddressTheProfilesArea) {
    const std::array<std::uint8_t, 3> red{0xFF, 0, 0};
    ASSERT_EQ(commands().WriteKeyColours(1, 5, red), kSuccess);
    EXPECT_THAT(pieces(), ElementsAre(std::pair(3, 527)));
    EXPECT_EQ(fake.memoryByte(17, 527), 0xFF);
}

// Arguments the keyboard cannot take are refused before anything is sent.
TEST_F(DeviceCommandsTest, OutOfRangeArgumentsSendNothing) {
    std::array<std::uint8_t, kKeyBlockBytes> block{};
    const Bytes tooMuch(57), notWholeKeys(4), pastTheArea(6);
    EXPECT_EQ(commands().ReadProfileKeys(3, block), kBadProfile);
    EXPECT_EQ(commands().WriteProfileKeys(3, block), kBadProfile);
    EXPECT_EQ(commands().ReadProfileKeys(-1, block), kBadProfile);
    EXPECT_EQ(commands().WriteKeyColours(3, 0, Bytes(3)), kBadProfile);
    EXPECT_EQ(commands().SetActiveProfile(3), kBadProfile);
    EXPECT_EQ(commands().WriteSettings(0, tooMuch), kInvalidRequest);
    EXPECT_EQ(commands().WriteSettings(0, {}), kInvalidRequest);
    EXPECT_EQ(commands().WriteKeyColours(0, 0, notWholeKeys), kInvalidRequest);
    EXPECT_EQ(commands().WriteKeyColours(0, 169, pastTheArea), kInvalidRequest);
    EXPECT_TRUE(fake.writes().empty());
}

TEST_F(DeviceCommandsTest, StatusBytesBecomeResultCodes) {
    for (auto [status, expected] : {std::pair(0xFF, kStatusFailed), std::pair(0xFE, kStatusRejected),
                                    std::pair(0x01, kSuccess)}) {
        fake.setResponder([status](const FakeHidService::Report& request, int) {
            return std::vector<FakeHidService::Delivery>{
                {answerWithStatus(request, static_cast<std::uint8_t>(status)), {}}};
        });
        EXPECT_EQ(commands().BeginUpdate(), expected) << "status " << status;
    }
}

// A read that fails part-way leaves the caller's block as it was, and a
// write stops at the failing piece.
TEST_F(DeviceCommandsTest, FailingPieceEndsTheOperation) {
    fake.setResponder([this](const FakeHidService::Report& request, int index) {
        const auto bytes =
            index >= 2 ? answerWithStatus(request, 0xFE) : fake.keyboardAnswerBytes(request);
        return std::vector<FakeHidService::Delivery>{{bytes, {}}};
    });
    std::array<std::uint8_t, kKeyBlockBytes> block;
    block.fill(0x5A);
    EXPECT_EQ(commands().ReadProfileKeys(0, block), kStatusRejected);
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](auto b) { return b == 0x5A; }));
    EXPECT_EQ(pieces().back(), std::pair(56, 112));
}

// With no keyboard every operation reports it and nothing reaches the wire.
TEST_F(DeviceCommandsTest, WithoutKeyboardEveryOperationReturnsZero) {
    fake.setDeviceCount(0);
    std::array<std::uint8_t, kDeviceInfoBytes> info{};
    std::array<std::uint8_t, kKeyBlockBytes> block{};
    Bytes bytes(10, 1), rgb(3, 1);
    const std::vector<std::pair<const char*, std::function<int()>>> operations{
        {"BeginUpdate", [&] { return commands().BeginUpdate(); }},
        {"EndUpdate", [&] { return commands().EndUpdate(); }},
        {"ReadDeviceInfo", [&] { return commands().ReadDeviceInfo(info); }},
        {"WriteDeviceInfo", [&] { return commands().WriteDeviceInfo(info); }},
        {"ReadSettings", [&] { return commands().ReadSettings(0, bytes); }},
        {"WriteSettings", [&] { return commands().WriteSettings(0, bytes); }},
        {"ReadProfileKeys", [&] { return commands().ReadProfileKeys(0, block); }},
        {"WriteProfileKeys", [&] { return commands().WriteProfileKeys(0, block); }},
        {"ReadMacroArea", [&] { return commands().ReadMacroArea(bytes); }},
        {"WriteMacroArea", [&] { return commands().WriteMacroArea(bytes); }},
        {"ReadDefaultLayout", [&] { return commands().ReadDefaultLayout(block); }},
        {"WriteKeyColours", [&] { return commands().WriteKeyColours(0, 0, rgb); }},
        {"SetActiveProfile", [&] { return commands().SetActiveProfile(1); }},
    };
    for (const auto& [name, operation] : operations) EXPECT_EQ(operation(), kNoKeyboard) << name;
    EXPECT_EQ(commands().GetActiveProfile(), -1);
    EXPECT_EQ(fake.writeAttempts(), 0u);
}

TEST_F(DeviceCommandsTest, ReadSettingsCopiesTheCallersCount) {
    Bytes settings(56, 0);
    ASSERT_EQ(commands().ReadSettings(42, settings), kSuccess);
    EXPECT_EQ(pieces(), (std::vector{std::pair(56, 42)}));
    EXPECT_EQ(settings[55], fake.memoryByte(5, 42 + 55));
}

class ActiveProfileTest : public DeviceCommandsTest {};

TEST_F(ActiveProfileTest, SetProfileIsCachedAndWrittenIntoTheDeviceInfo) {
    ASSERT_EQ(commands().SetActiveProfile(2), kSuccess);
    const auto before = fake.writes().size();
    EXPECT_EQ(commands().GetActiveProfile(), 2);
    EXPECT_EQ(fake.writes().size(), before);
    EXPECT_EQ(fake.memoryByte(3, kDeviceInfoActiveProfile), 2);
    EXPECT_EQ(fake.memoryByte(3, 20), static_cast<std::uint8_t>(20 * 7 + 3));  // passed through
}

TEST_F(ActiveProfileTest, FirstQueryReadsTheKeyboardOnce) {
    EXPECT_EQ(commands().GetActiveProfile(), 1);
    EXPECT_EQ(commands().GetActiveProfile(), 1);
    EXPECT_EQ(fake.writes().size(), 1u);
}

TEST_F(ActiveProfileTest, FailedWriteForgetsTheProfile) {
    ASSERT_EQ(commands().GetActiveProfile(), 1);
    fake.setResponder([this](const FakeHidService::Report& request, int) {
        const auto answer = request[3] == 4 ? answerWithStatus(request, 0xFF)
                                             : fake.keyboardAnswerBytes(request);
        return std::vector<FakeHidService::Delivery>{{answer, {}}};
    });
    EXPECT_EQ(commands().SetActiveProfile(2), kStatusFailed);
    fake.setResponder({});
    const auto before = fake.writes().size();
    EXPECT_EQ(commands().GetActiveProfile(), 1);
    EXPECT_EQ(fake.writes().size(), before + 1);
}

TEST_F(ActiveProfileTest, NonsenseProfileFromTheKeyboardIsNotBelieved) {
    fake.setMemoryByte(3, kDeviceInfoActiveProfile, 7);
    EXPECT_EQ(commands().GetActiveProfile(), -1);
}

}  // namespace
}  // namespace quillmar::device::testing
