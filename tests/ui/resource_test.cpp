// Every resource file loads, names only known callbacks, and holds every
// control the code addresses, of the kind the code expects.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <span>
#include <string>
#include <utility>

#include "app/main_uir.h"
#include "compare/compare_uir.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit.h"

namespace {

struct ResourceExpectation {
    const char* file;
    std::span<const ExpectedControl> controls;
};

// Every resource file the program loads.
const char* const kResourceFiles[] = {MAIN_UIR, SPELL_UIR, STACKING_UIR, COMPARE_UIR};

const ResourceExpectation kResources[] = {
    {MAIN_UIR, kMainUirControls},
    {SPELL_UIR, kSpellUirControls},
    {STACKING_UIR, kStackingUirControls},
    {COMPARE_UIR, kCompareUirControls},
};

TEST(ResourceTest, EveryCallbackNameIsRegistered)
{
    for (const char* file : kResourceFiles) {
        std::vector<ResourcePanelInfo> panels;
        std::vector<ResourceControlInfo> controls;
        if (!InspectResource(file, panels, controls)) {
            ADD_FAILURE() << file << " cannot be read";
            continue;
        }
        for (const auto& panel : panels) {
            if (!panel.callback.empty()) {
                EXPECT_NE(FindPanelCallback(panel.callback.c_str()), nullptr)
                    << file << ": " << panel.callback;
            }
        }
        for (const auto& control : controls) {
            if (!control.callback.empty()) {
                EXPECT_NE(FindCtrlCallback(control.callback.c_str()), nullptr)
                    << file << ": " << control.objectName << " names " << control.callback;
            }
        }
    }
}

TEST(ResourceTest, ControlIdsAreUniqueWithinEachPanel)
{
    for (const char* file : kResourceFiles) {
        std::vector<ResourcePanelInfo> panels;
        std::vector<ResourceControlInfo> controls;
        if (!InspectResource(file, panels, controls)) continue;
        std::set<std::pair<int, int>> seen;
        for (const auto& control : controls) {
            EXPECT_GT(control.ctrlId, 0) << file << ": " << control.objectName;
            EXPECT_TRUE(seen.insert({control.panelNumber, control.ctrlId}).second)
                << file << ": id " << control.ctrlId << " used twice in panel " << control.panelNumber;
        }
    }
}

TEST(ResourceTest, ControlsTheCodeUsesExistWithTheirKind)
{
    for (const ResourceExpectation& resource : kResources) {
        std::vector<ResourcePanelInfo> panels;
        std::vector<ResourceControlInfo> controls;
        ASSERT_TRUE(InspectResource(resource.file, panels, controls)) << resource.file;
        std::map<std::pair<int, int>, std::string> kinds;
        for (const auto& control : controls) kinds[{control.panelNumber, control.ctrlId}] = control.kind;
        for (const ExpectedControl& expected : resource.controls) {
            auto it = kinds.find({expected.panelNumber, expected.ctrlId});
            if (it == kinds.end()) {
                ADD_FAILURE() << resource.file << ": panel " << expected.panelNumber << " has no control "
                              << expected.ctrlId;
                continue;
            }
            EXPECT_EQ(it->second, expected.kind)
                << resource.file << ": panel " << expected.panelNumber << " control " << expected.ctrlId;
        }
    }
}

}  // namespace
