// The comparison window: lists the spells that differ between another spell
// file and the loaded one, shows the fields of the selected spell old and new
// side by side, and opens the loaded file's spell window for it.
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "compare/compare_callbacks.h"
#include "compare/compare_uir.h"
#include "compare/comparison.h"
#include "compare/detail_pane.h"
#include "compare/report.h"
#include "data/reader.h"
#include "data/spell.h"
#include "data/spell_index.h"
#include "popup/spell_popup.h"
#include "share/whole_file.h"
#include "ui/toolkit.h"

namespace {

constexpr const char* kCompareTitle = "Compare";
constexpr int kWindowTop = 40;
constexpr int kWindowLeft = 20;
constexpr const char* kNothingLoaded = "No spell file is loaded: open one before comparing.";
constexpr const char* kReportFileName = "spell-changes.md";
constexpr const char* kReportPathTooLong =
    "The report's path is longer than 259 bytes: choose a shorter one.";
constexpr const char* kNoSuchFile = "The file %s does not exist. Nothing was compared.";
constexpr const char* kPathTooLong = "That path is longer than 259 bytes. Nothing was compared.";
constexpr const char* kLoadedAgain =
    "The spell file was loaded again after this comparison.\nCompare again to open its spells.";
constexpr const char* kOutOfDate =
    "Out of date: the spell file was loaded again after this comparison. Compare again to open its spells.";
constexpr int kNoticeColor = 0xB00000;

struct CompareWindow {
    int panel = -1;
    int generation = 0;  // the load of the table the comparison was made with
    SpellComparison comparison;
    std::string oldPath;                      // the other file
    std::string newPath;                      // the loaded file
    ChangeFilter filter = ChangeFilter::All;  // what the list shows
    std::string namePart;
    std::vector<int> shown;  // the listed differences, row by row
    std::unique_ptr<DetailPane> pane;
};

std::unique_ptr<CompareWindow> g_window;

CompareWindow* WindowOf(int panel)
{
    return g_window && g_window->panel == panel ? g_window.get() : nullptr;
}

void CloseWindow()
{
    if (!g_window) return;
    DiscardPanel(g_window->panel);
    g_window.reset();
}

// The kinds with how many of each the name filter leaves; `kind` stays chosen.
void FillKindSelector(const CompareWindow& w, std::string_view namePart, int kind)
{
    std::vector<SpellDifference> named;
    for (int i : FilterDifferences(w.comparison, ChangeFilter::All, namePart))
        named.push_back(w.comparison.differences[static_cast<std::size_t>(i)]);
    const ChangeCounts n = CountChanges(named);
    const struct {
        const char* label;
        int count;
        ChangeFilter filter;
    } kinds[] = {
        {"All differences", n.removed + n.added + n.changed, ChangeFilter::All},
        {"Removed", n.removed, ChangeFilter::Removed},
        {"Added", n.added, ChangeFilter::Added},
        {"Changed", n.changed, ChangeFilter::Changed},
    };
    ClearListCtrl(w.panel, COMPAREPANEL_KIND);
    for (const auto& kind : kinds) {
        std::array<char, 48> label{};
        std::snprintf(label.data(), label.size(), "%s (%d)", kind.label, kind.count);
        InsertListItem(w.panel, COMPAREPANEL_KIND, -1, label.data(), static_cast<int>(kind.filter));
    }
    SetCtrlIndex(w.panel, COMPAREPANEL_KIND, kind);
}

bool OutOfDate(const CompareWindow& w)
{
    return w.generation != g_spellIdIndex.generation;
}

// The fields of the difference in list row `row`, or nothing.
void ShowDetails(CompareWindow& w, int row)
{
    std::array<DetailField, SPELL_TEXT_FIELDS> fields;
    if (row < 0 || row >= static_cast<int>(w.shown.size())) {
        SetCtrlVal(w.panel, COMPAREPANEL_DETAIL_TITLE, "");
        SetCtrlAttribute(w.panel, COMPAREPANEL_OPEN, ATTR_DIMMED, 1);
        w.pane->Show(fields, 0);
        return;
    }
    const SpellDifference& d =
        w.comparison.differences[static_cast<std::size_t>(w.shown[static_cast<std::size_t>(row)])];
    SetCtrlVal(w.panel, COMPAREPANEL_DETAIL_TITLE, DifferenceRow(w.comparison, d).c_str());
    SetCtrlAttribute(w.panel, COMPAREPANEL_OPEN, ATTR_DIMMED, d.newIndex < 0 || OutOfDate(w) ? 1 : 0);
    w.pane->Show(fields, DetailFields(w.comparison, d, fields));
}

// Refills the list from the kind selector and the name filter.
void FillList(CompareWindow& w)
{
    int kind = 0;
    GetCtrlVal(w.panel, COMPAREPANEL_KIND, &kind);
    TextField part{};
    GetCtrlVal(w.panel, COMPAREPANEL_FILTER, part);
    w.filter = static_cast<ChangeFilter>(kind);
    w.namePart = part.data();
    FillKindSelector(w, w.namePart, kind);
    w.shown = FilterDifferences(w.comparison, w.filter, w.namePart);
    ClearListCtrl(w.panel, COMPAREPANEL_LIST);
    for (int i : w.shown) {
        const std::string row =
            DifferenceRow(w.comparison, w.comparison.differences[static_cast<std::size_t>(i)]);
        InsertListItem(w.panel, COMPAREPANEL_LIST, -1, row.c_str(), i);
    }
    ShowDetails(w, w.shown.empty() ? -1 : 0);
    if (w.shown.empty())
        SetCtrlVal(w.panel, COMPAREPANEL_DETAIL_TITLE,
                   EmptyListText(w.comparison, static_cast<ChangeFilter>(kind), part.data()).c_str());
}

// The row of the list's current entry, or -1.
int CurrentRow(const CompareWindow& w)
{
    int value = -1;
    if (w.shown.empty() || GetCtrlVal(w.panel, COMPAREPANEL_LIST, &value) < 0) return -1;
    for (std::size_t row = 0; row < w.shown.size(); ++row) {
        if (w.shown[row] == value) return static_cast<int>(row);
    }
    return -1;
}

int OpenSelected(const CompareWindow& w)
{
    const int row = CurrentRow(w);
    if (row < 0) return 0;
    const SpellDifference& d =
        w.comparison.differences[static_cast<std::size_t>(w.shown[static_cast<std::size_t>(row)])];
    if (d.newIndex < 0) return 0;  // a removed spell is not in the loaded file
    if (OutOfDate(w)) {
        MessagePopup(kCompareTitle, kLoadedAgain);
        return -1;
    }
    return OpenSpellPopup(d.newIndex);
}

}  // namespace

int ComparePanel()
{
    return g_window ? g_window->panel : -1;
}

void NoteSpellFileLoaded()
{
    if (!g_window || !OutOfDate(*g_window)) return;
    SetCtrlVal(g_window->panel, COMPAREPANEL_NOTICE, kOutOfDate);
    SetCtrlAttribute(g_window->panel, COMPAREPANEL_NOTICE, ATTR_TEXT_COLOR, kNoticeColor);
    SetCtrlAttribute(g_window->panel, COMPAREPANEL_NOTICE, ATTR_TEXT_BOLD, 1);
    SetCtrlAttribute(g_window->panel, COMPAREPANEL_OPEN, ATTR_DIMMED, 1);
}

int CompareFilesCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2)
{
    (void)panel, (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    if (g_numSpells < 0) {
        MessagePopup(kCompareTitle, kNothingLoaded);
        return -1;
    }
    TextField path{};
    const int chosen =
        FileSelectPopup("", "spells_us.txt", "spells_us.txt; *.txt; *.*",
                        "Choose the spell file to compare with", VAL_OK_BUTTON, 0, 0, 1, 0, path.data());
    if (chosen == VAL_PATH_TOO_LONG || chosen == VAL_NEW_FILE_SELECTED) {
        MessageText text{};
        if (chosen == VAL_NEW_FILE_SELECTED) {
            std::snprintf(text.data(), text.size(), kNoSuchFile, path.data());
        } else {
            std::snprintf(text.data(), text.size(), "%s", kPathTooLong);
        }
        MessagePopup(kCompareTitle, text.data());
        return -1;
    }
    if (chosen != VAL_EXISTING_FILE_SELECTED) return 0;
    auto window = std::make_unique<CompareWindow>();
    window->generation = g_spellIdIndex.generation;
    window->oldPath = path.data();
    window->newPath = g_fileName.data();
    SetWaitCursor(1);
    const int compared =
        CompareWithLoadedSpells(path.data(), g_levelEnable ? g_displayLevel : 0, window->comparison);
    SetWaitCursor(0);
    if (compared != 0) return -1;

    CloseWindow();
    window->panel = LoadPanel(0, COMPARE_UIR, COMPAREPANEL);
    if (window->panel < 0) return -1;
    g_window = std::move(window);
    CompareWindow& w = *g_window;
    SetPanelPos(w.panel, kWindowTop, kWindowLeft);
    SetCtrlVal(w.panel, COMPAREPANEL_SUMMARY, ComparisonSummary(w.comparison, path.data()).c_str());
    w.pane = std::make_unique<DetailPane>(w.panel);
    FillList(w);
    DisplayPanel(w.panel);
    return 0;
}

int CompareFilterCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    CompareWindow* w = WindowOf(panel);
    // The list follows the name filter as it is typed.
    if ((event == EVENT_COMMIT || event == EVENT_VAL_CHANGED) && w) FillList(*w);
    return 0;
}

int CompareListCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    CompareWindow* w = WindowOf(panel);
    if (!w) return 0;
    if (event == EVENT_VAL_CHANGED) ShowDetails(*w, CurrentRow(*w));
    if (event == EVENT_COMMIT) return OpenSelected(*w);
    return 0;
}

int CompareOpenCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    CompareWindow* w = WindowOf(panel);
    if (event != EVENT_COMMIT || !w) return 0;
    return OpenSelected(*w);
}

int CompareCloseCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event == EVENT_COMMIT && WindowOf(panel)) CloseWindow();
    return 0;
}

int CompareSaveReportCallback(int panel, int control, int event, void* callbackData, int eventData1,
                              int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    CompareWindow* w = WindowOf(panel);
    if (event != EVENT_COMMIT || !w) return 0;
    TextField path{};
    const int chosen = FileSelectPopup("", kReportFileName, "*.md; *.html; *.htm; *.*", "Save the report",
                                       VAL_SAVE_BUTTON, 0, 0, 1, 1, path.data());
    if (chosen == VAL_PATH_TOO_LONG) {
        MessagePopup(kCompareTitle, kReportPathTooLong);
        return -1;
    }
    if (chosen != VAL_EXISTING_FILE_SELECTED && chosen != VAL_NEW_FILE_SELECTED) return 0;
    std::string report;
    WriteComparisonReport(w->comparison, w->filter, w->namePart, {w->oldPath, w->newPath},
                          ReportFormatFor(path.data()), report);
    std::string problem;
    if (WriteWholeFile(path.data(), report, problem) != 0) {
        MessagePopup(kCompareTitle, problem.c_str());
        return -1;
    }
    return 0;
}

int ComparePanelCallback(int panel, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)callbackData, (void)eventData2;
    if (event == EVENT_PANEL_SIZE && WindowOf(panel) && g_window->pane) g_window->pane->Resized();
    const bool close = (event == EVENT_KEYPRESS && eventData1 == VAL_ESC_VKEY) || event == EVENT_CLOSE;
    if (!close) return 0;
    if (WindowOf(panel)) {
        CloseWindow();
    } else {
        DiscardPanel(panel);
    }
    return 0;
}
