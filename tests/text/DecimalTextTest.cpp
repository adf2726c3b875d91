#include "text/DecimalText.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace quillmar::text {
namespace {

struct ScanCase {
    const char* text;
    std::size_t filled;
    std::array<int, 4> fields;
};

class DecimalListScan : public ::testing::TestWithParam<ScanCase> {};

TEST_P(DecimalListScan, FillsWhatTheTextSupplies) {
    const ScanCase& c = GetParam();
    std::array<int, 4> fields{};
    EXPECT_EQ(scanDecimalList(c.text, fields), c.filled);
    EXPECT_EQ(fields, c.fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecimalListScan,
    ::testing::Values(ScanCase{"255,0,0,1", 4, {255, 0, 0, 1}},
                      ScanCase{"12,34", 2, {12, 34, 0, 0}},
                      ScanCase{" 7, 8,+9,-1", 4, {7, 8, 9, -1}},
                      ScanCase{"7 ,8", 1, {7, 0, 0, 0}},  // no blank before a comma
                      ScanCase{"1,x,3", 1, {1, 0, 0, 0}},
                      ScanCase{"", 0, {0, 0, 0, 0}},
                      ScanCase{"99999999999,-99999999999", 2, {INT_MAX, INT_MIN, 0, 0}}));

TEST(LeadingDecimal, StopsAtFirstNonDigit) {
    EXPECT_EQ(leadingDecimal("  1"), 1);
    EXPECT_EQ(leadingDecimal("1x"), 1);
    EXPECT_EQ(leadingDecimal("x1"), 0);
    EXPECT_EQ(leadingDecimal(" "), 0);
}

}  // namespace
}  // namespace quillmar::text
