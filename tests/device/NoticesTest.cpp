#include "device/LinkFixture.h"
#include "device/StandingRequests.h"

#include <gmock/gmock.h>

namespace quillmar::device::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using StatusWord = std::array<std::uint8_t, 2>;

class NoticesTest : public LinkFixture {
protected:
    void notice(std::uint16_t code) {
        fake.sendNotice(code);
        settle();
    }
};

std::vector<std::string> bankLabels(char bank, const char* lit, const char* last) {
    std::vector<std::string> calls{"send 5045 4c4544"};
    for (int i = 0; i < 5; ++i) calls.push_back("text " + std::to_string(1000 + i) + " " + bank + std::to_string(i + 1));
    for (int i = 0; i < 4; ++i) calls.push_back("text " + std::to_string(1140 + i) + " ");
    calls.push_back(std::string("images 1128 ") + lit + " " + lit + " " + lit + " " + lit + " " + last);
    return calls;
}

TEST_F(NoticesTest, BankKeyTogglesTheStatusWordAndRelabelsTheGKeys) {
    EXPECT_EQ(link->requests().statusWord(), (StatusWord{0x05, 0x02}));
    notice(0x02FF);
    EXPECT_EQ(window.calls(), bankLabels('B', "Skins/main_over.jpg", "Skins/main_normal.jpg"));
    window.clear();
    notice(0x02FF);
    EXPECT_EQ(window.calls(), bankLabels('A', "Skins/main_normal.jpg", "Skins/main_over.jpg"));
    EXPECT_THAT(fake.statusWords(), ElementsAre(StatusWord{0x05, 0x03}, StatusWord{0x05, 0x02}));
    EXPECT_EQ(link->requests().gKeyBank(), GKeyBank::A);
}

TEST_F(NoticesTest, LightingChangeStartsTheReReadTimer) {
    notice(0x0401);
    EXPECT_THAT(window.calls(), ElementsAre("timer 1051 0"));
}

TEST_F(NoticesTest, IndicatorShowsItsIconAndGivesBackThePresenceIcon) {
    fake.announceDeviceCount(1);
    settle();
    window.clear();
    notice(0x1811);
    notice(0x1810);
    EXPECT_THAT(window.calls(), ElementsAre("icon 142", "icon 141"));
}

TEST_F(NoticesTest, OtherCodesAreIgnored) {
    notice(0x0000);
    notice(0x1812);
    EXPECT_THAT(window.calls(), IsEmpty());
    EXPECT_THAT(fake.statusWords(), IsEmpty());
}

TEST_F(NoticesTest, ShortNoticeIsIgnored) {
    const HidlaneRequestRecord record{HIDLANE_TAG_CONS, 1, nullptr};
    const HidlaneEvent event{HIDLANE_EVENT_DATA, &record};
    EXPECT_EQ(OnServiceNotification(&event), 1);
    EXPECT_EQ(OnServiceNotification(nullptr), 1);
    EXPECT_THAT(window.calls(), IsEmpty());
}

}  // namespace
}  // namespace quillmar::device::testing
