#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "formats/TextNumbers.h"
#include "formats/Utf8Text.h"

namespace nuvisca {
namespace {

struct IntCase {
    std::string_view text;
    std::int32_t expected;
};

class IntValueTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(IntValueTest, ParsesLikeTheLayoutSays) {
    EXPECT_EQ(intValue(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntValueTest,
    ::testing::Values(IntCase{"05", 5}, IntCase{"2014年", 2014}, IntCase{" \t7", 7},
                      IntCase{"\u30007", 7}, IntCase{"+3", 3}, IntCase{"-12x", -12},
                      IntCase{"x1", 0}, IntCase{"", 0}, IntCase{"-", 0}, IntCase{"1 2", 1},
                      IntCase{"\n5", 0}, IntCase{"99999999999", 2147483647},
                      IntCase{"-99999999999", std::numeric_limits<std::int32_t>::min()}));

struct FloatCase {
    std::string_view text;
    float expected;
};

class FloatValueTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(FloatValueTest, ParsesOnceIntoSinglePrecision) {
    const float value = floatValue(GetParam().text);
    EXPECT_EQ(value, GetParam().expected) << GetParam().text;
    EXPECT_EQ(std::signbit(value), std::signbit(GetParam().expected)) << GetParam().text;
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Texts, FloatValueTest,
    ::testing::Values(FloatCase{"65.30", 65.3f}, FloatCase{" 0.12346\n", 0.12346f},
                      FloatCase{"-0.5,", -0.5f}, FloatCase{"+2.5", 2.5f}, FloatCase{"-0.00", -0.0f},
                      FloatCase{"1e3", 1000.0f}, FloatCase{"1E-2x", 0.01f}, FloatCase{"1e", 1.0f},
                      FloatCase{"2e+", 2.0f}, FloatCase{".5", 0.5f}, FloatCase{"5.", 5.0f},
                      FloatCase{"ERROR\n", 0.0f}, FloatCase{"nan", 0.0f}, FloatCase{"-", 0.0f},
                      FloatCase{".", 0.0f}, FloatCase{"1e39", kInf}, FloatCase{"-1e39", -kInf},
                      FloatCase{"0.0000001e39", 1e32f}, FloatCase{"1e-50", 0.0f},
                      FloatCase{"-1e-50", -0.0f}, FloatCase{"1e999999999999", kInf},
                      // Just above the midpoint of 1 and the next float: a detour through
                      // double would round to the midpoint and then down to 1.
                      FloatCase{"1.0000000596046447753906251", 1.00000012f}));

// What the export prints must read back as the C library reads it, on the short exact path
// as on the general one.
TEST(TextNumbersTest, ReadsPrintedValuesAsStrtofDoes) {
    std::mt19937 random(99);
    std::uniform_int_distribution<std::uint32_t> bits;
    char text[128];
    for (int k = 0; k < 200000; ++k) {
        const float value = std::bit_cast<float>(bits(random));
        if (!std::isfinite(value)) {
            continue;
        }
        std::snprintf(text, sizeof text, k % 2 == 0 ? "%.5f" : "%.2f",
                      static_cast<double>(std::ldexp(value, -std::ilogb(value) + k % 30 - 8)));
        ASSERT_EQ(floatValue(text), std::strtof(text, nullptr)) << text;
    }
}

TEST(TextNumbersTest, NeverReadsPastTheText) {
    const std::string_view digits = "12345";
    EXPECT_EQ(intValue(digits.substr(0, 2)), 12);
    const std::string_view number = "0.25e2";
    EXPECT_EQ(floatValue(number.substr(0, 4)), 0.25f);
    EXPECT_EQ(floatValue(number.substr(0, 5)), 0.25f);
}

TEST(Utf8TextTest, CountsAndSlicesCharactersNotBytes) {
    const std::string_view time = "10時20分30\n";
    EXPECT_EQ(characterCount(time), 9u);
    EXPECT_EQ(characterSlice(time, 3, 5), "20");
    EXPECT_EQ(characterSlice(time, 6, 8), "30");
    EXPECT_EQ(characterSlice(time, 8, 20), "\n");
    EXPECT_EQ(characterSlice(time, 12, 20), "");
    EXPECT_EQ(characterSlice("a😀b", 1, 2), "😀");
    std::size_t pos = 1;
    EXPECT_EQ(nextCharacter("a😀b", pos), U'😀');
    EXPECT_EQ(pos, 5u);
}

TEST(Utf8TextTest, AcceptsOnlyWellFormedText) {
    EXPECT_TRUE(isValidUtf8("plain ascii text that is longer than a block"));
    EXPECT_TRUE(isValidUtf8(std::string_view("a\0b", 3)));
    EXPECT_TRUE(isValidUtf8("\xEF\xBB\xBF測定\U0010FFFF"));
    for (const std::string_view bad :
         {"\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xBF\xBF", "\xF0\x8F\xBF\xBF",
          "\xF4\x90\x80\x80", "12345678\xE6\xB8", "\xF8\x88\x80\x80\x80"}) {
        EXPECT_FALSE(isValidUtf8(bad)) << bad.size();
    }
}

}  // namespace
}  // namespace nuvisca
