#include "platform/foundation/Format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace pf {
namespace {

struct FormatCase {
  const char* format;
  std::vector<Value> args;
  const char* expected;
};

class FormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, Writes) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(formatValues(c.format, c.args), c.expected) << "format: " << c.format;
}

INSTANTIATE_TEST_SUITE_P(
    Objects, FormatTest,
    testing::Values(FormatCase{"plain text", {}, "plain text"}, FormatCase{"%@", {"abc"}, "abc"},
                    FormatCase{"%@|%@", {42, 1.5}, "42|1.5"}, FormatCase{"%@", {Null{}}, "<null>"},
                    FormatCase{"%@", {}, "(null)"}, FormatCase{"%@ and %@", {"one"}, "one and (null)"},
                    FormatCase{"%@", {Array{1, "a"}}, "(1, a)"},
                    FormatCase{"http://%@/open%@.html", {"host", "/login"}, "http://host/open/login.html"},
                    FormatCase{"%2$@ %1$@", {"a", "b"}, "b a"}, FormatCase{"%%|100%%", {}, "%|100%"}));

INSTANTIATE_TEST_SUITE_P(
    Integers, FormatTest,
    testing::Values(FormatCase{"%d|%i", {42, -7}, "42|-7"},
                    FormatCase{"[%5d][%-5d][%05d][%+d]", {42, 42, 42, 42}, "[   42][42   ][00042][+42]"},
                    FormatCase{"%d", {"17 apples"}, "17"}, FormatCase{"%d", {true}, "1"},
                    FormatCase{"%d", {2.9}, "2"}, FormatCase{"%d", {}, "0"},
                    // Without a length modifier an integer is read as a C int, as the original varargs were.
                    FormatCase{"%d", {3000000000LL}, "-1294967296"},
                    FormatCase{"%ld", {3000000000LL}, "3000000000"},
                    FormatCase{"%lld|%lli", {-5LL, 9223372036854775807LL}, "-5|9223372036854775807"},
                    FormatCase{"%hhd|%hd", {300, 70000}, "44|4464"}, FormatCase{"%u", {-1}, "4294967295"},
                    FormatCase{"%lu", {-1}, "18446744073709551615"},
                    FormatCase{"%llu", {18446744073709551615ULL}, "18446744073709551615"},
                    FormatCase{"%x|%X|%#x|%o|%08X", {255, 255, 255, 8, 0xBEEF}, "ff|FF|0xff|10|0000BEEF"},
                    FormatCase{"%*d|%-*d|", {5, 42, 4, 7}, "   42|7   |"},
                    FormatCase{"%*d|", {-3, 1}, "1  |"}));

INSTANTIATE_TEST_SUITE_P(
    TextAndCharacters, FormatTest,
    testing::Values(FormatCase{"%s", {"text"}, "text"}, FormatCase{"%s", {}, "(null)"},
                    FormatCase{"%s", {12}, "12"}, FormatCase{"[%5s][%-5s]", {"ab", "ab"}, "[   ab][ab   ]"},
                    // A precision never ends inside a UTF-8 character.
                    FormatCase{"[%.3s][%.4s][%.1s]", {"中文", "中文", "abc"}, "[中][中][a]"},
                    FormatCase{"%c%c", {65, "中文"}, "A中"}, FormatCase{"[%3c]", {"x"}, "[  x]"}));

INSTANTIATE_TEST_SUITE_P(
    Floating, FormatTest,
    testing::Values(FormatCase{"%f", {1.5}, "1.500000"}, FormatCase{"%.1f", {1.0f}, "1.0"},
                    FormatCase{"%.2f", {"3.14159"}, "3.14"}, FormatCase{"%e", {12345.678}, "1.234568e+04"},
                    FormatCase{"%g|%g", {0.0001, 1e20}, "0.0001|1e+20"},
                    FormatCase{"%8.3f", {-2.5}, "  -2.500"}, FormatCase{"%.*f", {2, 3.14159}, "3.14"},
                    FormatCase{"%Lf|%lf", {0.5, 0.25}, "0.500000|0.250000"}, FormatCase{"%.1f", {}, "0.0"}));

// Bad formats come out as written, never crash and never write through "%n".
INSTANTIATE_TEST_SUITE_P(Malformed, FormatTest,
                         testing::Values(FormatCase{"%", {}, "%"}, FormatCase{"abc%", {1}, "abc%"},
                                         FormatCase{"%5", {1}, "%5"}, FormatCase{"%ll", {1}, "%ll"},
                                         FormatCase{"%y|%d", {1}, "%y|1"},
                                         FormatCase{"a%nb%d", {1, 2}, "ab2"},
                                         FormatCase{"%0$@", {"x"}, "%0$@"},
                                         FormatCase{"%9$@", {"x"}, "(null)"}, FormatCase{"%p", {}, "0x0"}));

TEST(FormatWidthTest, HugeWidthIsCapped) {
  std::string text = formatValues("%999999999999d", {1});
  EXPECT_LE(text.size(), 5000u);
  EXPECT_EQ(text.back(), '1');
}

TEST(FormatTemplateTest, BoxesEachArgument) {
  EXPECT_EQ(format("%@ has %d units, %.1f%%", std::string("Course"), 12, 87.5f),
            "Course has 12 units, 87.5%");
  EXPECT_EQ(format("no arguments"), "no arguments");
}

TEST(FormatLocaleTest, AlwaysWritesADecimalPoint) {
  std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale installed";
  std::string text = formatValues("%.1f", {1.5});
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(text, "1.5");
}

}  // namespace
}  // namespace pf
