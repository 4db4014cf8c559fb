// The two lines of the settings file read back within their buffers,
// whatever the file holds.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <optional>
#include <string>

#include "app/settings_format.h"
#include "test_support.h"

namespace {

struct SettingsCase {
    const char* name;
    std::string bytes;
    std::optional<std::string> path;  // line 1 as read; not checked when empty
    int numbers;                      // 1: line 2 holds `values`; 0: no four numbers; -1: not checked
    std::array<int, 4> values;
};

TEST(SettingsFile, ReadsTheTwoLinesWithinTheirBuffers)
{
    const SettingsCase cases[] = {
        {"Plain", "/data/spells_us.txt\n65 0 120 240\n", "/data/spells_us.txt", 1, {65, 0, 120, 240}},
        {"CrlfLineEnds", "C:\\spells_us.txt\r\n12 1 -5 7\r\n", "C:\\spells_us.txt", 1, {12, 1, -5, 7}},
        // A lone carriage return ends no line: both lines are line 1.
        {"LoneCrLineEnds", "a.txt\r65 0 1 2\r", "a.txt\r65 0 1 2\r", 0, {}},
        // A NUL byte ends the path, and the second line is still read.
        {"NulByteInThePath", std::string("a.txt\0junk\n65 1 10 20\n", 22), "a.txt", 1, {65, 1, 10, 20}},
        {"NulByteInTheNumbers", std::string("a.txt\n65 1\0 10 20\n", 18), "a.txt", 0, {}},
        {"NumbersBeyondIntRange",
         "a.txt\n99999999999 -99999999999 2147483648 -2147483649\n",
         "a.txt",
         1,
         {INT_MAX, INT_MIN, INT_MAX, INT_MIN}},
        // The rest of a path too long for its buffer is skipped, not read as line 2.
        {"PathOfOneMegabyte",
         std::string(1 << 20, 'p') + "\n1 1 1 1\n",
         std::string(259, 'p'),
         1,
         {1, 1, 1, 1}},
        {"MissingSecondLine", "a.txt\n", "a.txt", 0, {}},
        {"ThreeNumbers", "a.txt\n1 2 3\n", "a.txt", 0, {}},
        {"Garbage", std::string("\x01\xff\n\n\x80 9 9 9 9\x00", 12), std::nullopt, -1, {}},
    };
    testsupport::TempDir dir;
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::FILE* file = std::fopen(dir.Write("rivizuzi.cfg", c.bytes).c_str(), "r");
        ASSERT_NE(file, nullptr);
        TextField line1;
        TextField line2;
        line1.fill('X');
        line2.fill('X');
        ReadSettingsLine(file, line1);
        ReadSettingsLine(file, line2);
        std::fclose(file);
        ASSERT_NE(std::memchr(line1.data(), '\0', line1.size()), nullptr);
        ASSERT_NE(std::memchr(line2.data(), '\0', line2.size()), nullptr);
        if (c.path) {
            EXPECT_EQ(line1.data(), *c.path);
        }
        std::array<int, 4> values{};
        const bool numbers = ParseFourInts(line2.data(), values);
        if (c.numbers >= 0) {
            EXPECT_EQ(numbers, c.numbers == 1);
        }
        if (c.numbers == 1) {
            EXPECT_EQ(values, c.values);
        }
    }
}

TEST(SettingsFile, PathsThatTheFirstLineCannotHoldAreNamed)
{
    const struct {
        std::string path;
        bool storable;
    } cases[] = {
        {"/data/spells_us.txt", true},
        {"", true},
        {"a\rb", true},
        {std::string(259, 'p'), true},
        {"a\n", false},
        {"a\nb", false},
        {"\r", false},
        {"a\r", false},
        {std::string(260, 'p'), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsPathProblem(c.path.c_str()) == nullptr, c.storable) << c.path;
}

}  // namespace
