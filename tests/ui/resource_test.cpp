// Every resource file the program loads names only known callbacks and
// holds every control the code addresses, once, of the kind the code expects.
#include <gtest/gtest.h>

#include <map>
#include <span>

#include "app/main_uir.h"
#include "compare/compare_uir.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit.h"

namespace {

TEST(ResourceTest, CallbacksAreKnownAndControlsAreThereOnceWithTheirKind)
{
    const struct {
        const char* file;
        std::span<const ExpectedControl> controls;
    } resources[] = {
        {MAIN_UIR, kMainUirControls},
        {SPELL_UIR, kSpellUirControls},
        {STACKING_UIR, kStackingUirControls},
        {COMPARE_UIR, kCompareUirControls},
    };
    for (const auto& resource : resources) {
        SCOPED_TRACE(resource.file);
        std::vector<ResourcePanelInfo> panels;
        std::vector<ResourceControlInfo> controls;
        ASSERT_TRUE(InspectResource(resource.file, panels, controls));
        for (const auto& panel : panels)
            EXPECT_TRUE(panel.callback.empty() || FindPanelCallback(panel.callback.c_str()))
                << panel.callback;
        std::map<std::pair<int, int>, std::string> kinds;
        for (const auto& control : controls) {
            EXPECT_TRUE(control.callback.empty() || FindCtrlCallback(control.callback.c_str()))
                << control.objectName << " names " << control.callback;
            EXPECT_GT(control.ctrlId, 0) << control.objectName;
            EXPECT_TRUE(kinds.insert({{control.panelNumber, control.ctrlId}, control.kind}).second)
                << "id " << control.ctrlId << " twice in panel " << control.panelNumber;
        }
        for (const ExpectedControl& expected : resource.controls) {
            const auto it = kinds.find({expected.panelNumber, expected.ctrlId});
            EXPECT_EQ(it == kinds.end() ? "missing" : it->second, expected.kind)
                << "panel " << expected.panelNumber << " control " << expected.ctrlId;
        }
    }
}

}  // namespace
