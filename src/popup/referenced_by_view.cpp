#include "popup/referenced_by_view.h"

#include "data/spell.h"
#include "popup/referenced_by.h"
#include "popup/spell_uir.h"
#include "ui/toolkit.h"

int ShowReferencedBy(int panel, int index, int panelHeight)
{
    UpdateReferencedBy();
    const auto referrers = ReferencedBy(g_referencedBy, index);
    const ReferencedByPlace place = PlaceReferencedBy(panelHeight, static_cast<int>(referrers.size()));
    if (referrers.empty()) return place.panelHeight;
    for (const int16_t referrer : referrers) {
        InsertListItem(panel, SPELLPANEL_REFERENCED_BY, -1,
                       g_spellArray[static_cast<std::size_t>(referrer)].name.data(), referrer);
    }
    for (const int control : {SPELLPANEL_REFERENCED_BY_CAPTION, SPELLPANEL_REFERENCED_BY}) {
        SetCtrlAttribute(panel, control, ATTR_TOP, place.top);
        SetCtrlAttribute(panel, control, ATTR_VISIBLE, 1);
    }
    SetCtrlAttribute(panel, SPELLPANEL_REFERENCED_BY, ATTR_HEIGHT, place.listHeight);
    // Each name is a link to its spell, as the other names of the window are.
    SetCtrlAttribute(panel, SPELLPANEL_REFERENCED_BY, ATTR_LINK_LENGTH, 1);
    return place.panelHeight;
}
