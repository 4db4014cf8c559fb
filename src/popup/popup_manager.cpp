// The table of open popups (spell and stacking panels): slots, the cascade of
// positions, opening a popup, closing one popup or all of them.
#include "popup/popup_manager.h"

#include "data/spell.h"
#include "ui/toolkit.h"

namespace {

constexpr int kCascadeOrigin = 200;
constexpr int kCascadeStep = 20;
constexpr int kCascadeLimit = 400;

int NextCascade(int position)
{
    return position > kCascadeLimit ? kCascadeOrigin : position + kCascadeStep;
}

// Empties a slot that holds a panel or was just reserved for one.
void FreeSlot(int slot)
{
    if (slot == g_lastPopup) g_lastPopup = -1;
    g_popupHandles[static_cast<std::size_t>(slot)] = -1;
    if (g_numPopups > 0) --g_numPopups;
}

// What the last GetPopupIndex changed, so that a slot it reserved for a
// popup that then could not open gives everything back.
struct Reservation {
    int slot = -1;
    int nextPopup = 0;
    int lastPopup = -1;
    int popupX = 0;
    int popupY = 0;
};
Reservation g_reservation;

}  // namespace

int GetPopupIndex()
{
    if (g_numPopups >= MAX_POPUPS) return -1;
    int slot = -1;
    for (int step = 1; step <= MAX_POPUPS; ++step) {
        const int candidate = (g_nextPopup + step) % MAX_POPUPS;
        if (g_popupHandles[static_cast<std::size_t>(candidate)] == -1) {
            slot = candidate;
            break;
        }
    }
    if (slot < 0) return -1;  // the count and the table disagree: refuse
    g_reservation = {slot, g_nextPopup, g_lastPopup, g_popupX, g_popupY};
    g_nextPopup = slot;
    g_popupX = NextCascade(g_popupX);
    g_popupY = NextCascade(g_popupY);
    g_lastPopup = slot;
    ++g_numPopups;
    return slot;
}

int ExitPopupFunction(int panel)
{
    DiscardPanel(panel);
    // Free slots hold -1: only a real handle (positive) can own a slot.
    if (panel <= 0) return 0;
    for (int slot = 0; slot < MAX_POPUPS; ++slot) {
        if (g_popupHandles[static_cast<std::size_t>(slot)] == panel) {
            FreeSlot(slot);
            break;
        }
    }
    return 0;
}

void ReleaseReservedPopupSlot(int slot)
{
    if (slot < 0 || slot >= MAX_POPUPS || g_popupHandles[static_cast<std::size_t>(slot)] != -1) return;
    FreeSlot(slot);
    // The most recent reservation: the slot order, the cascade and the popup
    // that "Reset window position" moves are as they were before it.
    if (slot == g_reservation.slot) {
        g_nextPopup = g_reservation.nextPopup;
        g_lastPopup = g_reservation.lastPopup;
        g_popupX = g_reservation.popupX;
        g_popupY = g_reservation.popupY;
        g_reservation.slot = -1;
    }
}

int OpenPopup(const char* resourceFile, int panelNumber, PopupFillPtr fill, void* fillData)
{
    const int slot = GetPopupIndex();
    if (slot < 0) {
        MessagePopup(kTooManyPopupsTitle, kTooManyPopupsText);
        return -1;
    }
    const int panel = LoadPanel(0, resourceFile, panelNumber);
    if (panel < 0) {
        ReleaseReservedPopupSlot(slot);
        return -1;
    }
    g_popupHandles[static_cast<std::size_t>(slot)] = panel;
    SetPanelPos(panel, g_popupY, g_popupX);
    if (fill(panel, fillData) != 0) {
        // The panel goes at once rather than holding its slot hidden, and
        // the popup state is as it was.
        DiscardPanel(panel);
        g_popupHandles[static_cast<std::size_t>(slot)] = -1;
        ReleaseReservedPopupSlot(slot);
        return -1;
    }
    DisplayPanel(panel);
    return 0;
}

int ExitPopupCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event == EVENT_COMMIT) ExitPopupFunction(panel);
    return 0;
}

int SpellPanelCallback(int panel, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)callbackData, (void)eventData2;
    // The close box closes the popup like its Close button: a window that
    // were only hidden would keep its slot for the rest of the run.
    if ((event == EVENT_KEYPRESS && eventData1 == VAL_ESC_VKEY) || event == EVENT_CLOSE) {
        ExitPopupFunction(panel);
    }
    return 0;
}

int CloseAllCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)panel, (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event == EVENT_COMMIT) CloseAllPopups();
    return 0;
}

void CloseAllPopups()
{
    for (int& handle : g_popupHandles) {
        if (handle != -1) DiscardPanel(handle);
        handle = -1;
    }
    g_numPopups = 0;
}

int ResetPositionCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2)
{
    (void)panel, (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    g_popupX = kCascadeOrigin;
    g_popupY = kCascadeOrigin;
    if (g_lastPopup >= 0 && g_lastPopup < MAX_POPUPS) {
        const int handle = g_popupHandles[static_cast<std::size_t>(g_lastPopup)];
        if (handle != -1) SetPanelPos(handle, kCascadeOrigin, kCascadeOrigin);
    }
    return 0;
}
