#include "app/start.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app.h"
#include "app/main_uir.h"
#include "data/reader.h"
#include "data/spell.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit.h"

namespace {

class ConsoleDialogs : public DialogHook {
public:
    void Message(const char* title, const char* text) override
    {
        std::fprintf(stderr, "%s: %s\n", title, text);
    }
    int FileSelect(const char* defaultFileName, const char* title, std::string& path) override
    {
        (void)defaultFileName, (void)path;
        std::fprintf(stderr, "%s: cancelled\n", title);
        return VAL_NO_FILE_SELECTED;
    }
};

void QuitCallback(void* callbackData)
{
    (void)callbackData;
    QuitUserInterface(g_numSpells >= 0 ? 0 : 1);
}

}  // namespace

bool CheckResourceFiles()
{
    for (const char* name : {MAIN_UIR, SPELL_UIR, STACKING_UIR}) {
        std::string problem;
        if (FindResourceFile(name, problem)) continue;
        std::fprintf(stderr, "rivizuzi: %s\n", problem.c_str());
        MessagePopup("Error", problem.c_str());
        return false;
    }
    return true;
}

void UseConsoleDialogs()
{
    static ConsoleDialogs dialogs;
    SetDialogHook(&dialogs);
}

void OpenCommandLineFile(const char* path)
{
    if (std::FILE* settings = std::fopen(SETTINGS_FILE, "r")) {
        std::fclose(settings);
        LoadInitFile(SETTINGS_FILE);
    }
    const TextField kept = g_fileName;
    DisplayPanel(mainPanel);
    if (std::strlen(path) < SPELL_FIELD_CHARS) {
        CopyText(g_fileName, path);
        ParseSpells(mainPanel, g_fileName.data());
    } else {
        // A path longer than the settings can hold is never opened: the
        // dumps read the spell file again by its recorded name.
        MessageText text{};
        FormatOpenError(path, text);
        MessagePopup("Error", text.data());
        g_numSpells = -1;
    }
    if (g_numSpells < 0) g_fileName = kept;
}

void QuitWhenReady()
{
    PostDeferredCall(QuitCallback, nullptr);
}
