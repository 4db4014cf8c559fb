// The exporter run as a program: its JSON lines, its comparison of two files
// and its exit statuses.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using Json = nlohmann::ordered_json;
using testsupport::SpellLine;

class Exporter : public testing::Test {
protected:
    std::string WriteFile(const std::vector<SpellLine>& lines, const char* name = "spells_us.txt")
    {
        return dir_.Write(name, testsupport::FileText(lines));
    }
    testsupport::RunResult Run(const std::string& arguments)
    {
        return testsupport::RunExporter(dir_.path(), arguments);
    }

    testsupport::TempDir dir_;
};

std::vector<SpellLine> SampleLines()
{
    SpellLine ward(1234, "Ember Ward");
    ward.Set(17, "10").Set(104, "5");                     // duration 10 ticks; WAR at level 5
    ward.Slot(0, 0, 10, 0, 102);                          // Hitpoints
    ward.Slot(1, 10, 0, 0, 100);                          // Charisma with base 0: not shown
    ward.Slot(4, 85, 2000, 0, 100);                       // weapon proc of the next record
    ward.Slot(11, 85, 3, 0, 100);                         // weapon proc of no loaded spell
    ward.Set(150, "2000").Set(58, "10015").Set(62, "2");  // linked spell, one component
    return {ward, SpellLine(2000, "Caf\xe9 Strike")};     // a Latin-1 name, instant
}

TEST_F(Exporter, WritesOneObjectPerRecordWithTheShownSlotsAndThePanelTexts)
{
    WriteFile(SampleLines());
    const testsupport::RunResult result = Run("spells_us.txt");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::vector<Json> spells;
    for (const std::string& line : testsupport::Lines(result.out)) spells.push_back(Json::parse(line));
    ASSERT_EQ(spells.size(), 2u);

    // The panel object holds the detail window's texts under their field names, last.
    std::vector<std::string> keys;
    for (const auto& item : spells[0]["panel"].items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "id",          "name",        "col19",      "col9",       "duration",
                        "seconds13",   "seconds14",   "seconds15",  "col10",      "timeOfDay",
                        "environment", "linkedSpell", "message1",   "message2",   "message3",
                        "col18",       "col11",       "reagentId",  "classLevel", "skill",
                        "beneficial",  "resistType",  "targetType", "col147",     "linkedSpellIndex",
                        "stacking"}));
    const Json& panel = spells[0]["panel"];
    EXPECT_EQ(panel["duration"], "10 ticks (1.0 minutes)");
    EXPECT_EQ(panel["linkedSpell"], "Caf\u00e9 Strike");
    EXPECT_EQ(panel["reagentId"], "Malachite (2)");
    EXPECT_EQ(panel["classLevel"], "WAR(5) ");
    EXPECT_EQ(panel["linkedSpellIndex"], 1);
    EXPECT_EQ(panel["stacking"], true);
    EXPECT_EQ(spells[1]["panel"]["duration"], "Instant");
    EXPECT_EQ(spells[1]["panel"]["linkedSpellIndex"], -1);

    for (Json& spell : spells) spell.erase("panel");
    EXPECT_EQ(spells[0], Json::parse(R"j({"index": 0, "id": 1234, "name": "Ember Ward", "effects": [
        {"slot": 1, "text": "Increase Hitpoints by 15 (L5) to 75 (L65) per tick", "link": -1},
        {"slot": 5, "text": "Add Weapon Proc: 2000 (Caf\u00e9 Strike)", "link": 1},
        {"slot": 12, "text": "Add Weapon Proc: 3 ()", "link": -1}]})j"));
    EXPECT_EQ(spells[1],
              Json::parse(R"({"index": 1, "id": 2000, "name": "Caf\u00e9 Strike", "effects": []})"));

    const testsupport::RunResult level = Run("--level 40 spells_us.txt");
    EXPECT_EQ(Json::parse(testsupport::Lines(level.out).at(0))["effects"][0]["text"],
              "Increase Hitpoints by 50 (L40) per tick");
    WriteFile({}, "empty.txt");
    EXPECT_EQ(Run("empty.txt").out, "");
}

TEST_F(Exporter, BadArgumentsExitWithTwoAndMissingFilesWithOne)
{
    WriteFile(SampleLines());
    const std::string file = "spells_us.txt";
    for (const std::string& arguments :
         {"--bogus " + file, "--level 0 " + file, "--level 66 " + file, "--level x " + file,
          std::string("--level 5"), std::string(), "--search '' --effect -1 " + file,
          "--search '' --effect 154 " + file, "--search '' --effect 16 " + file,  // 16 has no label
          "--search '' --effect x " + file, "--effect 0 " + file, std::string("--diff"), "--diff " + file,
          "--diff " + file + " --search x " + file}) {
        const testsupport::RunResult result = Run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.err.find("usage: rivizuzi-export"), std::string::npos) << arguments;
        EXPECT_EQ(result.out, "") << arguments;
    }
    const std::string missing = (dir_.path() / "missing.txt").string();
    for (const std::string& arguments :
         {missing, "--diff " + missing + " " + file, "--diff " + file + " " + missing}) {
        const testsupport::RunResult result = Run(arguments);
        EXPECT_EQ(result.status, 1) << arguments;
        EXPECT_EQ(result.err, "Cannot open the file: " + missing + " - please browse for a valid file.\n")
            << arguments;
        EXPECT_EQ(result.out, "") << arguments;
    }
}

struct DiffCase {
    const char* name;
    std::vector<SpellLine> oldLines;
    std::vector<SpellLine> newLines;
    const char* options;
    const char* expected;  // every line printed
};

std::vector<DiffCase> DiffCases()
{
    const SpellLine alpha(1, "Alpha");
    const SpellLine beta(2, "Beta");
    const SpellLine gamma(3, "Gamma");
    SpellLine heal(7, "Heal");
    heal.Set(17, "10").Slot(2, 0, 10, 0, 100);
    SpellLine healRenamed(7, "Heal II");
    healRenamed.Set(17, "20");
    // Hitpoints growing by 1 a level from 10: capped at 30 (level 20) or 40
    // (level 30), the same 20 at level 10.
    SpellLine capped30(9, "Mend");
    capped30.Set(17, "10").Slot(0, 0, 10, 30, 102);
    SpellLine capped40 = capped30;
    capped40.Slot(0, 0, 10, 40, 102);
    return {
        {"Added",
         {alpha},
         {alpha, beta},
         "",
         R"j({"change":"added","id":2,"name":"Beta","newIndex":1})j"
         "\n"},
        {"Removed",
         {alpha, beta},
         {beta},
         "",
         R"j({"change":"removed","id":1,"name":"Alpha","oldIndex":0})j"
         "\n"},
        {"ChangedFieldsInWindowOrder",
         {alpha, heal},
         {healRenamed},
         "",
         R"j({"change":"removed","id":1,"name":"Alpha","oldIndex":0})j"
         "\n"
         R"j({"change":"changed","id":7,"name":"Heal II","oldIndex":1,"newIndex":0,"fields":[)j"
         R"j({"field":"name","old":"Heal","new":"Heal II"},)j"
         R"j({"field":"duration","old":"10 ticks (1.0 minutes)","new":"20 ticks (2.0 minutes)"},)j"
         R"j({"field":"slot 3","old":"Increase Hitpoints by 10 per tick","new":""}]})j"
         "\n"},
        {"SentenceDiffersAsARange",
         {capped30},
         {capped40},
         "",
         R"j({"change":"changed","id":9,"name":"Mend","oldIndex":0,"newIndex":0,"fields":[)j"
         R"j({"field":"slot 1","old":"Increase Hitpoints by 11 (L1) to 30 (L20) per tick",)j"
         R"j("new":"Increase Hitpoints by 11 (L1) to 40 (L30) per tick"}]})j"
         "\n"},
        {"SentenceSameAtLevel10", {capped30}, {capped40}, "--level 10", ""},
        {"DuplicateIdsMatchByOccurrence",
         {SpellLine(5, "Echo"), SpellLine(5, "Echo B"), SpellLine(5, "Echo C")},
         {SpellLine(5, "Echo"), SpellLine(5, "Echo b")},
         "",
         R"j({"change":"changed","id":5,"name":"Echo b","oldIndex":1,"newIndex":1,"fields":[)j"
         R"j({"field":"name","old":"Echo B","new":"Echo b"}]})j"
         "\n"
         R"j({"change":"removed","id":5,"name":"Echo C","oldIndex":2})j"
         "\n"},
        {"ReorderedButIdentical", {alpha, beta, gamma}, {gamma, alpha, beta}, "", ""},
    };
}

TEST_F(Exporter, DiffPrintsTheSpellsThatDifferByIdAndOccurrence)
{
    for (const DiffCase& c : DiffCases()) {
        SCOPED_TRACE(c.name);
        WriteFile(c.oldLines, "old.txt");
        WriteFile(c.newLines, "new.txt");
        const testsupport::RunResult result = Run(std::string(c.options) + " --diff old.txt new.txt");
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, c.expected);
    }
}

}  // namespace
