// Screens: where top-level panels may stand, and keeping them there.
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <algorithm>

#include "ui/toolkit_internal.h"
#include "ui/toolkit_testing.h"

namespace toolkit {
namespace {

struct TestScreens {
    std::vector<QRect> areas;
    QMargins frame;
};
TestScreens g_testScreens;

// The screens' available areas, the primary screen first.
std::vector<QRect> AvailableAreas()
{
    if (!g_testScreens.areas.empty()) return g_testScreens.areas;
    std::vector<QRect> areas;
    if (QScreen* primary = QGuiApplication::primaryScreen()) areas.push_back(primary->availableGeometry());
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) areas.push_back(screen->availableGeometry());
    }
    return areas;
}

QMargins FrameOf(const QWidget* window)
{
    const QRect f = window->frameGeometry();
    const QRect g = window->geometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

// The frame the window manager puts around a window: the window's own once it
// has one, else that of another panel window, else a usual title bar.
QMargins FrameMargins(const QWidget* window)
{
    if (!g_testScreens.areas.empty()) return g_testScreens.frame;
    if (!FrameOf(window).isNull()) return FrameOf(window);
    for (const auto& [handle, panel] : AllPanels()) {
        const QWidget* other = panel->window;
        if (other && other->isWindow() && other->isVisible() && !FrameOf(other).isNull())
            return FrameOf(other);
    }
    constexpr int kUsualTitleBar = 30;
    constexpr int kUsualBorder = 1;
    return {kUsualBorder, kUsualTitleBar, kUsualBorder, kUsualBorder};
}

// The area a frame lies on most, or the nearest one when it is on none.
QRect AreaFor(const QRect& frame, const std::vector<QRect>& areas)
{
    const QRect* best = &areas.front();
    long long bestOverlap = -1;
    long long bestDistance = -1;
    for (const QRect& area : areas) {
        const QRect common = area.intersected(frame);
        const long long overlap =
            common.isEmpty() ? 0 : static_cast<long long>(common.width()) * common.height();
        const QPoint c = frame.center();
        const long long dx = c.x() < area.left() ? area.left() - c.x() : std::max(0, c.x() - area.right());
        const long long dy = c.y() < area.top() ? area.top() - c.y() : std::max(0, c.y() - area.bottom());
        const long long distance = dx * dx + dy * dy;
        if (overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && distance < bestDistance)) {
            best = &area;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return *best;
}

}  // namespace

// Keeps a top-level panel's window, frame included, on the screens.
void KeepOnScreen(Panel& panel)
{
    QWidget* window = panel.window;
    if (!window || panel.parent != 0) return;  // panels of a panel stand over their parent
    const std::vector<QRect> areas = AvailableAreas();
    if (areas.empty()) return;
    const QMargins margins = FrameMargins(window);
    QRect frame = window->geometry().marginsAdded(margins);
    if (!panel.placed) {
        frame.moveCenter(areas.front().center());
        panel.placed = true;
    }
    QRegion desktop;
    for (const QRect& area : areas) desktop += area;
    if (!QRegion(frame).subtracted(desktop).isEmpty()) {
        const QRect area = AreaFor(frame, areas);
        if (frame.right() > area.right()) frame.moveRight(area.right());
        if (frame.bottom() > area.bottom()) frame.moveBottom(area.bottom());
        if (frame.left() < area.left()) frame.moveLeft(area.left());
        if (frame.top() < area.top()) frame.moveTop(area.top());
    }
    const QRect client = frame.marginsRemoved(margins);
    if (client != window->geometry()) window->setGeometry(client);
}

QRect ScreenAreaFor(const QRect& frame)
{
    const std::vector<QRect> areas = AvailableAreas();
    return areas.empty() ? QRect() : AreaFor(frame, areas);
}

}  // namespace toolkit

using namespace toolkit;

void SetScreensForTesting(const std::vector<ScreenArea>& areas, int frameTop, int frameSide)
{
    g_testScreens.areas.clear();
    for (const ScreenArea& a : areas) g_testScreens.areas.emplace_back(a.left, a.top, a.width, a.height);
    g_testScreens.frame = QMargins(frameSide, frameTop, frameSide, frameSide);
}
