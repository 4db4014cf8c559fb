// The two lines of the settings file read back within their buffers,
// whatever the file holds, and the paths line 1 cannot hold.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "app/settings_format.h"
#include "test_support.h"

namespace {

TEST(SettingsFile, ReadsTheTwoLinesWithinTheirBuffers)
{
    const struct {
        const char* name;
        std::string bytes;
        std::string path;  // line 1 as read
        bool numbers;      // line 2 holds four numbers, these:
        std::array<int, 4> values;
    } cases[] = {
        {"Plain", "/data/spells_us.txt\n65 0 120 240\n", "/data/spells_us.txt", true, {65, 0, 120, 240}},
        {"CrlfAndNumbersBeyondTheIntRange",
         "C:\\spells_us.txt\r\n2147483648 1 -5 -99999999999\r\n",
         "C:\\spells_us.txt",
         true,
         {INT_MAX, 1, -5, INT_MIN}},
        {"LoneCarriageReturnEndsNoLine", "a.txt\r65 0 1 2\r", "a.txt\r65 0 1 2\r", false, {}},
        {"NulByteInThePath", std::string("a.txt\0junk\n65 1 10 20\n", 22), "a.txt", true, {65, 1, 10, 20}},
        {"NulByteInTheNumbers", std::string("a.txt\n65 1\0 10 20\n", 18), "a.txt", false, {}},
        {"RestOfALongPathIsSkipped",
         std::string(1 << 20, 'p') + "\n1 1 1 1\n",
         std::string(259, 'p'),
         true,
         {1, 1, 1, 1}},
        {"MissingSecondLine", "a.txt\n", "a.txt", false, {}},
        {"ThreeNumbers", "a.txt\n1 2 3\n", "a.txt", false, {}},
        {"Garbage", std::string("\x01\xff\n\n\x80 9 9 9 9\x00", 12), "\x01\xff", false, {}},
    };
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::FILE* file = std::fopen(dir.Write("rivizuzi.cfg", c.bytes).c_str(), "r");
        ASSERT_NE(file, nullptr);
        TextField line1, line2;
        line1.fill('X');
        line2.fill('X');
        ReadSettingsLine(file, line1);
        ReadSettingsLine(file, line2);
        std::fclose(file);
        ASSERT_NE(std::memchr(line1.data(), '\0', line1.size()), nullptr);
        ASSERT_NE(std::memchr(line2.data(), '\0', line2.size()), nullptr);
        EXPECT_EQ(line1.data(), c.path);
        std::array<int, 4> values{};
        EXPECT_EQ(ParseFourInts(line2.data(), values), c.numbers);
        if (c.numbers) {
            EXPECT_EQ(values, c.values);
        }
    }
}

TEST(SettingsFile, PathsThatTheFirstLineCannotHoldAreNamed)
{
    const struct {
        std::string path;
        const char* problem;
    } cases[] = {
        {"/data/spells_us.txt", nullptr},
        {"", nullptr},
        {"a\rb", nullptr},
        {std::string(259, 'p'), nullptr},
        {"a\n", "it holds a line feed"},
        {"a\nb", "it holds a line feed"},
        {"\r", "it ends in a carriage return"},
        {"a\r", "it ends in a carriage return"},
        {std::string(260, 'p'), "it is longer than 259 bytes"},
    };
    for (const auto& c : cases) EXPECT_STREQ(SettingsPathProblem(c.path.c_str()), c.problem) << c.path;
}

}  // namespace
