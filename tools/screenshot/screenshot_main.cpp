// rivizuzi-screenshot SPELL_FILE OUT_DIR
//
// Opens the viewer's windows headlessly on a spell file and saves pictures of
// them for the documentation: the main window after a search, and every other
// window the program has open at that point.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "app/main_uir.h"
#include "data/spell.h"
#include "list/search_callbacks.h"
#include "ui/toolkit.h"

namespace {

class SilentDialogs : public DialogHook {
public:
    void Message(const char* title, const char* text) override { std::fprintf(stderr, "%s: %s\n", title, text); }
    int FileSelect(const char*, const char*, std::string&) override { return VAL_NO_FILE_SELECTED; }
};

bool Save(QWidget* window, const QString& path)
{
    QApplication::processEvents();
    bool ok = window->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.toUtf8().constData());
    return ok;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: rivizuzi-screenshot SPELL_FILE OUT_DIR\n");
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    InitGlobals();
    InitToolkit(argc, argv);
    SilentDialogs dialogs;
    SetDialogHook(&dialogs);
    RegisterProgramCallbacks();
    mainPanel = LoadMainPanel();
    if (mainPanel < 0) return 1;
    CopyText(g_fileName, argv[1]);
    SetPanelPos(mainPanel, 40, 40);
    DisplayPanel(mainPanel);
    ParseSpells(mainPanel, g_fileName.data());
    SetCtrlVal(mainPanel, MAINPANEL_SEARCH_TEXT, "sh");
    SearchStringCallback(mainPanel, MAINPANEL_SEARCH_TEXT, EVENT_COMMIT, nullptr, 0, 0);

    QDir out(QString::fromUtf8(argv[2]));
    bool ok = true;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->objectName() == "mainPanel") ok = Save(w, out.filePath("main-window.png")) && ok;
    }
    return ok ? 0 : 1;
}
