#include "device/DeviceReport.h"
#include "device/LinkFixture.h"
#include "device/ResultCode.h"

#include <gmock/gmock.h>

#include <thread>

namespace quillmar::device::testing {
namespace {

using ::testing::ElementsAre;
using Report = FakeHidService::Report;

Report requestFor(std::uint8_t command, std::uint8_t marker = 0) {
    auto request = DeviceReport::request(command, 1, 0);
    request.data()[0] = marker;
    request.seal();
    return request.bytes;
}

class CommandTransactionTest : public LinkFixture {
protected:
    int run(const Report& request) {
        answer.fill(0xEE);
        return link->transaction().RunTransaction(request, answer, delivered);
    }

    Report answer{};
    std::size_t delivered = 99;
};

TEST_F(CommandTransactionTest, WithoutKeyboardEndsAtOnceAndWritesNothing) {
    fake.setDeviceCount(0);
    EXPECT_EQ(run(requestFor(3)), kNoKeyboard);
    EXPECT_EQ(delivered, 0u);
    EXPECT_EQ(fake.writeAttempts(), 0u);
}

TEST_F(CommandTransactionTest, RefusedWriteIsNotRetried) {
    fake.refuseWrites(true);
    EXPECT_EQ(run(requestFor(3)), kWriteRefused);
    EXPECT_EQ(fake.writeAttempts(), 1u);
    EXPECT_EQ(delivered, 0u);
}

TEST_F(CommandTransactionTest, AcceptedAnswerIsCopiedWithItsLength) {
    EXPECT_EQ(run(requestFor(3)), kSuccess);
    EXPECT_EQ(delivered, 64u);
    EXPECT_EQ(answer[3], 3);
    EXPECT_EQ(fake.writes().size(), 1u);
}

TEST_F(CommandTransactionTest, ShortRequestIsPaddedWithZerosAndKeepsItsChecksum) {
    const std::vector<std::uint8_t> tenBytes{4, 0xAB, 0xCD, 3, 2, 0, 0, 0, 9, 9};
    std::size_t length = 0;
    ASSERT_EQ(link->transaction().RunTransaction(tenBytes, answer, length), kSuccess);
    const Report sent = fake.writes().at(0);
    EXPECT_TRUE(std::equal(tenBytes.begin(), tenBytes.end(), sent.begin()));
    EXPECT_TRUE(std::all_of(sent.begin() + 10, sent.end(), [](auto b) { return b == 0; }));
}

TEST_F(CommandTransactionTest, LongAnswerIsCutToTheBuffer) {
    fake.setResponder([](const Report& request, int) {
        auto bytes = answerWithStatus(request, 0);
        bytes.resize(70, 0x77);
        return std::vector<FakeHidService::Delivery>{{bytes, {}}};
    });
    EXPECT_EQ(run(requestFor(3)), kSuccess);
    EXPECT_EQ(delivered, 64u);
}

constexpr std::uint8_t kForeign = 0x55;

TEST_F(CommandTransactionTest, AShortAnswerAfterALongForeignOneKeepsNoStaleBytes) {
    fake.setResponder([](const Report& request, int index) {
        Report asked = request;
        if (index == 0) {
            asked[3] = static_cast<std::uint8_t>(request[3] + 1);
            auto foreign = answerWithStatus(asked, 0);
            std::fill(foreign.begin() + 8, foreign.end(), std::uint8_t{0x77});
            return std::vector<FakeHidService::Delivery>{{foreign, {}}};
        }
        auto shortAnswer = answerWithStatus(asked, 0);
        shortAnswer.resize(12);
        return std::vector<FakeHidService::Delivery>{{shortAnswer, {}}};
    });
    EXPECT_EQ(run(requestFor(5)), kSuccess);
    EXPECT_EQ(delivered, 12u);
    EXPECT_TRUE(std::all_of(answer.begin() + 12, answer.end(), [](auto b) { return b == 0; }));
}

// How a run of answers of one kind ends: the number of writes and the result.
struct AnswerScript {
    const char* name;
    std::vector<std::uint8_t> statuses;  // per write; kForeign answers another command
    int expectedResult;
    std::size_t expectedWrites;
};

void PrintTo(const AnswerScript& script, std::ostream* out) { *out << script.name; }

class AnswerScriptTest : public CommandTransactionTest,
                         public ::testing::WithParamInterface<AnswerScript> {};

TEST_P(AnswerScriptTest, EndsAsScripted) {
    const auto statuses = GetParam().statuses;
    fake.setResponder([statuses](const Report& request, int index) {
        const auto status = statuses.at(std::min<std::size_t>(index, statuses.size() - 1));
        Report asked = request;
        if (status == kForeign) asked[3] = request[3] + 1;
        return std::vector<FakeHidService::Delivery>{
            {answerWithStatus(asked, status == kForeign ? 0 : status), {}}};
    });
    EXPECT_EQ(run(requestFor(5)), GetParam().expectedResult);
    EXPECT_EQ(fake.writes().size(), GetParam().expectedWrites);
}

INSTANTIATE_TEST_SUITE_P(
    Retries, AnswerScriptTest,
    ::testing::Values(AnswerScript{"ForeignThreeTimes", {kForeign}, kNoAnswer, 3},
                      AnswerScript{"ForeignThenMatching", {kForeign, kForeign, 0}, kSuccess, 3},
                      AnswerScript{"RejectedThenOk", {0xFE, 0}, kSuccess, 2},
                      AnswerScript{"RejectedThreeTimesIsHandedOver", {0xFE}, kSuccess, 3},
                      AnswerScript{"FailedThreeTimesIsHandedOver", {0xFF}, kSuccess, 3}),
    [](const auto& info) { return std::string(info.param.name); });

class SlowKeyboardTest : public CommandTransactionTest {
protected:
    void SetUp() override {}
};

TEST_F(SlowKeyboardTest, SilenceGivesUpAfterThreeWrites) {
    makeLink(quickTiming(20ms));
    fake.setResponder([](const Report&, int) { return std::vector<FakeHidService::Delivery>{}; });
    EXPECT_EQ(run(requestFor(7)), kNoAnswer);
    EXPECT_EQ(fake.writes().size(), 3u);
    EXPECT_EQ(delivered, 0u);
}

// The first answer comes while the transaction pauses between attempts; it
// must not be taken for the answer to the second write.
TEST_F(SlowKeyboardTest, AnswerArrivingBetweenAttemptsIsDropped) {
    auto timing = quickTiming(20ms);
    timing.retryPause = 300ms;
    makeLink(timing);
    fake.setResponder([](const Report& request, int index) {
        auto bytes = answerWithStatus(request, 0);
        bytes[8] = static_cast<std::uint8_t>(0xA0 + index);
        if (index == 0) return std::vector<FakeHidService::Delivery>{{bytes, 150ms}};
        return std::vector<FakeHidService::Delivery>{{bytes, {}}};
    });
    EXPECT_EQ(run(requestFor(7)), kSuccess);
    EXPECT_EQ(answer[8], 0xA1);
    EXPECT_EQ(fake.writes().size(), 2u);
}

// A late answer after the transaction ended must not touch the caller's
// (by then gone) buffer; the sanitizers watch the stack buffer here.
TEST_F(SlowKeyboardTest, AnswerAfterTheTransactionEndedIsDropped) {
    makeLink(quickTiming(20ms));
    fake.setResponder([](const Report& request, int) {
        return std::vector<FakeHidService::Delivery>{{answerWithStatus(request, 0), 300ms}};
    });
    {
        Report scratch{};
        std::size_t length = 0;
        EXPECT_EQ(link->transaction().RunTransaction(requestFor(7), scratch, length), kNoAnswer);
    }
    fake.drain();
    fake.setResponder({});
    EXPECT_EQ(run(requestFor(3)), kSuccess);
    EXPECT_EQ(answer[3], 3);
}

TEST_F(CommandTransactionTest, UnsolicitedAnswerIsDropped) {
    fake.sendCommandData(answerWithStatus(requestFor(3), 0));
    fake.drain();
    EXPECT_EQ(run(requestFor(5)), kSuccess);
    EXPECT_EQ(answer[3], 5);
}

// Two threads at once: each must get the answer to its own request.
TEST_F(CommandTransactionTest, ConcurrentTransactionsEachGetTheirOwnAnswer) {
    auto worker = [this](std::uint8_t command, int& mismatches) {
        for (int i = 0; i < 50; ++i) {
            Report mine{};
            std::size_t length = 0;
            const auto marker = static_cast<std::uint8_t>(i);
            const int result =
                link->transaction().RunTransaction(requestFor(command, marker), mine, length);
            if (result != kSuccess || mine[3] != command) ++mismatches;
        }
    };
    int mismatchesA = 0;
    int mismatchesB = 0;
    std::thread a(worker, std::uint8_t{3}, std::ref(mismatchesA));
    std::thread b(worker, std::uint8_t{15}, std::ref(mismatchesB));
    a.join();
    b.join();
    EXPECT_EQ(mismatchesA + mismatchesB, 0);
    EXPECT_EQ(fake.writes().size(), 100u);
}

TEST(DeviceReport, ChecksumCoversBytesThreeToTheEnd) {
    DeviceReport report = DeviceReport::request(0xFF, 0xFF, 0xFFFF);
    report.data().back() = 0x10;
    report.bytes[1] = 0x12;  // the checksum field itself is not summed
    report.seal();
    EXPECT_EQ(report.storedChecksum(), (0xFF * 4 + 0x10) & 0xFFFF);
    EXPECT_THAT(std::vector(report.bytes.begin(), report.bytes.begin() + 3),
                ElementsAre(4, 0x0C, 0x04));
}

}  // namespace
}  // namespace quillmar::device::testing
