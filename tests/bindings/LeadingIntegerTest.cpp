#include <climits>

#include <gtest/gtest.h>

#include "bindings/LeadingInteger.h"

namespace
{

struct SNumberCase
{
    const char* text;
    int expected;
};

class LeadingIntegerTest : public testing::TestWithParam<SNumberCase>
{
};

TEST_P(LeadingIntegerTest, ReadsBlanksSignAndLeadingDigits)
{
    EXPECT_EQ(qel::ReadLeadingInteger(GetParam().text), GetParam().expected)
        << "text: " << (GetParam().text ? GetParam().text : "(null)");
}

const SNumberCase kNumberCases[] = {
    {nullptr, 0},
    {"", 0},
    {"12", 12},
    {"  42x", 42},
    {"\t-7", -7},
    {"+5", 5},
    {"- 5", 0},
    {"abc", 0},
    {"0x10", 0},
    {"007", 7},
    {" +", 0},
    {"2147483647", INT_MAX},
    {"2147483648", INT_MAX},
    {"99999999999999999999999", INT_MAX},
    {"-2147483648", INT_MIN},
    {"-99999999999", INT_MIN},
};

INSTANTIATE_TEST_SUITE_P(Texts, LeadingIntegerTest, testing::ValuesIn(kNumberCases));

} // namespace
