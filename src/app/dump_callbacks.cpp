// The main window's dump commands: each reads what it needs from the window
// and hands the work to the dump functions. They act only on commit; the
// status line says when a line number has no line in the file.
#include "app/dump_callbacks.h"

#include <array>
#include <cstdio>

#include "app/main_uir.h"
#include "dump/dump.h"
#include "ui/toolkit.h"

int DumpSpellCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    int spellNumber = 0;
    if (GetCtrlVal(panel, MAINPANEL_SPELL_NUM, &spellNumber) < 0) return -1;
    std::array<char, 32> path{};
    std::snprintf(path.data(), path.size(), "SpellNum%d.txt", spellNumber);
    int lines = 0;
    const int result = DumpSpell(spellNumber, g_fileName.data(), path.data(), &lines);
    if (result != DUMP_NO_SUCH_LINE) return result;
    MessageText text{};
    FormatNoSuchLine(spellNumber, lines, text);
    SetCtrlVal(panel, MAINPANEL_STATUS, text.data());
    return -1;
}

int DumpAttributeCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2)
{
    (void)panel, (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    return DumpAttributes(g_fileName.data(), kAttributeDumpDir);
}

int DumpAllSpellsCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2)
{
    (void)panel, (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    DumpAllSpells(kSpellDumpDir);
    return 0;
}

int DumpSpecialCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)panel, (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    SetWaitCursor(1);
    const int result = DumpSpecial(kCalcDumpFile);
    SetWaitCursor(0);
    return result;
}
