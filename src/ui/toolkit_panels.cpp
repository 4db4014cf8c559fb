// Panels: loading from resource files, showing, placing, discarding.
#include <QAbstractItemView>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyleFactory>
#include <QUiLoader>
#include <algorithm>
#include <cctype>

#include "data/messages.h"
#include "ui/resource_location.h"
#include "ui/toolkit_internal.h"

namespace toolkit {
namespace {

std::unordered_map<int, std::unique_ptr<Panel>> g_panels;
std::unordered_map<const QWidget*, int> g_windowPanels;
int g_nextHandle = 1;
int g_dispatchDepth = 0;
int g_waitCursorDepth = 0;
EventWatcher* g_watcher = nullptr;

std::unordered_map<std::string, CtrlCallbackPtr>& CtrlRegistry()
{
    static std::unordered_map<std::string, CtrlCallbackPtr> registry;
    return registry;
}

std::unordered_map<std::string, PanelCallbackPtr>& PanelRegistry()
{
    static std::unordered_map<std::string, PanelCallbackPtr> registry;
    return registry;
}

// The loader, made once with plugin paths emptied so that constructing it does
// not load designer plugins.
QUiLoader& Loader()
{
    static QUiLoader* loader = [] {
        QStringList saved = QCoreApplication::libraryPaths();
        QCoreApplication::setLibraryPaths({});
        auto* made = new QUiLoader;
        made->clearPluginPaths();
        QCoreApplication::setLibraryPaths(saved);
        return made;
    }();
    return *loader;
}

// Resource files are read once and kept in memory.
bool ReadResource(const char* fileName, QByteArray& contents)
{
    static QHash<QString, QByteArray> cache;
    QString path = ResourcePath(fileName);
    auto it = cache.find(path);
    if (it != cache.end()) {
        contents = *it;
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    contents = file.readAll();
    cache.insert(path, contents);
    return true;
}

// Loads a resource file's widget tree, or nullptr.
QWidget* LoadTree(const char* fileName)
{
    QByteArray contents;
    if (!fileName || !ReadResource(fileName, contents)) return nullptr;
    QBuffer buffer(&contents);
    buffer.open(QIODevice::ReadOnly);
    return Loader().load(&buffer);
}

QWidget* FindPanelWidget(QWidget* root, int panelNumber)
{
    bool ok = false;
    if (root->property("panel").toInt(&ok) == panelNumber && ok) return root;
    for (QObject* child : root->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w->property("panel").toInt(&ok) == panelNumber && ok) return w;
    }
    return nullptr;
}

QString PanelCallbackName(QWidget* panelWidget)
{
    return panelWidget->property("callback").toString();
}

void DestroyPanel(int handle)
{
    auto it = g_panels.find(handle);
    if (it == g_panels.end()) return;
    // Child panels go with their parent.
    std::vector<int> children;
    for (auto& [h, p] : g_panels) {
        if (p->parent == handle) children.push_back(h);
    }
    for (int child : children) DestroyPanel(child);
    std::unique_ptr<Panel> panel = std::move(it->second);
    g_panels.erase(it);
    if (QWidget* window = panel->window) {
        g_windowPanels.erase(window);
        window->hide();
        // A panel discarded from inside one of its own callbacks is still on
        // the call stack of a Qt signal: delete it once control returns.
        if (g_dispatchDepth > 0) {
            window->deleteLater();
        } else {
            delete window;
        }
    }
}

// ---- Screens ----------------------------------------------------------------

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
    for (const auto& [handle, panel] : g_panels) {
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

}  // namespace

Panel* FindPanel(int handle)
{
    auto it = g_panels.find(handle);
    if (it == g_panels.end() || !it->second->window) return nullptr;
    return it->second.get();
}

Panel* PanelOfWidget(const QWidget* window)
{
    auto it = g_windowPanels.find(window);
    return it == g_windowPanels.end() ? nullptr : FindPanel(it->second);
}

QString ResourcePath(const char* fileName)
{
    std::string problem;
    std::string path =
        LocateResourceFile(QCoreApplication::applicationDirPath().toStdString(), fileName, problem);
    if (!path.empty()) return QString::fromStdString(path);
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(fileName));
}

void FireCommit(int panel, int control)
{
    FireCtrlEvent(panel, control, EVENT_COMMIT);
}

void FireCtrlEvent(int panel, int control, int event)
{
    Control* c = FindControl(panel, control);
    if (!c || !c->callback) return;
    ++g_dispatchDepth;
    c->callback(panel, control, event, c->callbackData, 0, 0);
    --g_dispatchDepth;
}

void CollectAnchors(Panel& panel)
{
    QWidget* window = panel.window;
    for (QObject* child : window->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow()) continue;
        const QString edges = widget->property("anchors").toString().toUpper();
        if (edges.isEmpty()) continue;
        panel.anchored.push_back({widget, widget->geometry(), edges.contains('L'), edges.contains('T'),
                                  edges.contains('R'), edges.contains('B')});
    }
    if (panel.anchored.empty()) return;
    panel.baseSize = window->size();
    window->setMinimumSize(panel.baseSize);
}

void PlaceAnchored(Panel& panel)
{
    if (panel.anchored.empty()) return;
    const int dw = std::max(panel.window->width() - panel.baseSize.width(), 0);
    const int dh = std::max(panel.window->height() - panel.baseSize.height(), 0);
    for (const Anchored& a : panel.anchored) {
        if (!a.widget) continue;
        // Kept to both edges of a direction: grows; to the far edge only: moves.
        QRect r = a.base;
        if (a.right && a.left) r.setWidth(r.width() + dw);
        if (a.right && !a.left) r.moveLeft(r.left() + dw);
        if (a.bottom && a.top) r.setHeight(r.height() + dh);
        if (a.bottom && !a.top) r.moveTop(r.top() + dh);
        a.widget->setGeometry(r);
    }
}

bool FirePanelEvent(int handle, int event, int eventData1)
{
    Panel* p = FindPanel(handle);
    if (!p || !p->callback) return false;
    ++g_dispatchDepth;
    p->callback(handle, event, p->callbackData, eventData1, 0);
    --g_dispatchDepth;
    return true;
}

void CoverChild(Panel& panel, QWidget* child)
{
    if (child) CoverChild(panel, child->geometry());
}

void CoverChild(Panel& panel, const QRect& r)
{
    QWidget* canvas = panel.canvas;
    if (!canvas || canvas == panel.window || r.isEmpty()) return;
    QSize need(std::max(canvas->minimumWidth(), r.right() + 20),
               std::max(canvas->minimumHeight(), r.bottom() + 20));
    if (need != canvas->minimumSize()) canvas->setMinimumSize(need);
}

namespace {

// The text selected with the mouse in a window: on its canvas, or in one of
// its texts. Empty when nothing is selected.
QString SelectedText(QWidget* window)
{
    Panel* panel = PanelOfWidget(window);
    QString text = panel ? SelectedPaintedText(*panel) : QString();
    if (!text.isEmpty()) return text;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->hasSelectedText()) return label->selectedText();
    }
    return {};
}

// Ctrl+C in a window copies its selected text, unless the widget with the
// focus copies its own (a text box, a list). True when it was copied.
bool CopySelection(QWidget* window)
{
    QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QAbstractItemView*>(focus)) return false;
    const QString text = SelectedText(window);
    if (text.isEmpty()) return false;
    QGuiApplication::clipboard()->setText(text);
    return true;
}

// A press on a selectable text leaves one selection in its window: the
// other texts' and the canvas's go.
void KeepOneSelection(QLabel* pressed)
{
    if (!(pressed->textInteractionFlags() & Qt::TextSelectableByMouse)) return;
    QWidget* window = pressed->window();
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label != pressed && label->hasSelectedText()) label->setSelection(0, 0);
    }
    if (Panel* panel = PanelOfWidget(window)) ClearPaintedSelection(*panel);
}

}  // namespace

bool EventWatcher::eventFilter(QObject* watched, QEvent* event)
{
    // The key press being delivered, so that its trip up the parents is
    // handled once; cleared by the release that follows. Its key tells it
    // from the next press, which may reuse its address (Ctrl, then C).
    static const QEvent* lastHandled = nullptr;
    static int lastKey = 0;
    switch (event->type()) {
        case QEvent::KeyRelease:
            lastHandled = nullptr;
            break;
        case QEvent::KeyPress: {
            // A key event travels from the focus widget up to its window; handle
            // it once, for the panel whose window holds the receiver.
            auto* widget = qobject_cast<QWidget*>(watched);
            auto* key = static_cast<QKeyEvent*>(event);
            if (!widget || (event == lastHandled && key->key() == lastKey)) break;
            Panel* panel = PanelOfWidget(widget->window());
            if (!panel || !panel->callback) break;
            lastHandled = event;
            lastKey = key->key();
            if (key->matches(QKeySequence::Copy) && CopySelection(widget->window())) return true;
            int code = key->key();
            if (code == Qt::Key_Escape) code = VAL_ESC_VKEY;
            if (code == Qt::Key_Down) code = VAL_DOWN_ARROW_VKEY;
            int handle = panel->handle;
            FirePanelEvent(handle, EVENT_KEYPRESS, code);
            if (!FindPanel(handle)) return true;  // the callback closed the panel
            break;
        }
        case QEvent::MouseButtonPress:
            if (auto* label = qobject_cast<QLabel*>(watched)) KeepOneSelection(label);
            break;
        case QEvent::Close: {
            auto* widget = qobject_cast<QWidget*>(watched);
            Panel* panel = widget ? PanelOfWidget(widget) : nullptr;
            if (!panel || !panel->callback) break;
            // The callback decides whether the window goes.
            event->ignore();
            FirePanelEvent(panel->handle, EVENT_CLOSE, 0);
            return true;
        }
        case QEvent::Resize: {
            auto* widget = qobject_cast<QWidget*>(watched);
            Panel* panel = widget ? PanelOfWidget(widget) : nullptr;
            if (!panel) break;
            // A scrolling canvas fills its panel.
            for (QObject* child : widget->children()) {
                if (auto* area = qobject_cast<QScrollArea*>(child)) area->setGeometry(widget->rect());
            }
            PlaceAnchored(*panel);
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace toolkit

using namespace toolkit;

// ---- Run-time ---------------------------------------------------------------

namespace {
int g_failingLoads = 0;  // LoadPanel calls still to fail, for tests

void ShowCoreMessage(const char* title, const char* text)
{
    MessagePopup(title, text);
}
}  // namespace

int InitToolkit(int argc, char* argv[])
{
    static int s_argc = 0;
    if (!QApplication::instance()) {
        s_argc = argc;
        new QApplication(s_argc, argv);
    }
    auto* app = qobject_cast<QApplication*>(QApplication::instance());
    if (!app) return 0;
    if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
    // The desktop entry's id lets the desktop match the windows to the menu
    // entry and its icon; the installed icon theme gives the window icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.rivizuzi.Rivizuzi"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.rivizuzi.Rivizuzi")));
    app->setQuitOnLastWindowClosed(false);
    if (!g_watcher) {
        g_watcher = new EventWatcher(app);
        app->installEventFilter(g_watcher);
    }
    SetMessageSink(ShowCoreMessage);
    return 1;
}

bool FindResourceFile(const char* fileName, std::string& problem)
{
    return !LocateResourceFile(QCoreApplication::applicationDirPath().toStdString(), fileName, problem)
                .empty();
}

int PostDeferredCall(DeferredCallbackPtr callback, void* callbackData)
{
    if (!callback || !QCoreApplication::instance()) return -1;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [callback, callbackData] { callback(callbackData); },
        Qt::QueuedConnection);
    return 0;
}

int RunUserInterface()
{
    return QApplication::exec();
}

int QuitUserInterface(int returnCode)
{
    QCoreApplication::exit(returnCode);
    return 0;
}

void ProcessDrawEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int SetSystemAttribute(int attribute, int value)
{
    (void)attribute, (void)value;  // nothing to set on this platform
    return 0;
}

void SetWaitCursor(int on)
{
    if (on) {
        if (g_waitCursorDepth++ == 0) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else if (g_waitCursorDepth > 0) {
        if (--g_waitCursorDepth == 0) QApplication::restoreOverrideCursor();
    }
}

void StringUpperCase(char* text)
{
    for (; text && *text; ++text) {
        unsigned char c = static_cast<unsigned char>(*text);
        if (c >= 'a' && c <= 'z') *text = static_cast<char>(c - 'a' + 'A');
    }
}

// ---- Panels -----------------------------------------------------------------

void FailNextLoadPanelsForTesting(int count)
{
    g_failingLoads = count;
}

int LoadPanel(int parentPanel, const char* fileName, int panelNumber)
{
    if (g_failingLoads > 0) {
        --g_failingLoads;
        return -1;
    }
    Panel* parent = nullptr;
    if (parentPanel != 0 && !(parent = FindPanel(parentPanel))) return -1;
    QWidget* root = LoadTree(fileName);
    if (!root) return -1;
    QWidget* widget = FindPanelWidget(root, panelNumber);
    if (!widget) {
        delete root;
        return -1;
    }
    QRect geometry = widget->geometry();
    if (widget != root) {
        widget->setParent(nullptr);
        delete root;
    }
    Qt::WindowFlags flags = parent ? (Qt::Dialog | Qt::FramelessWindowHint) : Qt::Window;
    widget->setParent(parent ? parent->window.data() : nullptr, flags);
    widget->resize(geometry.size());
    if (parent) {
        QRect p = parent->window->geometry();
        widget->move(p.left() + (p.width() - geometry.width()) / 2,
                     p.top() + (p.height() - geometry.height()) / 2);
    }

    auto panel = std::make_unique<Panel>();
    panel->handle = g_nextHandle++;
    panel->parent = parentPanel;
    panel->window = widget;
    panel->canvas = widget;
    panel->controls.resize(1);
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        if (child->property("canvas").toBool()) panel->canvas = child;
        bool ok = false;
        int id = child->property("ctrlId").toInt(&ok);
        if (!ok || id <= 0) continue;
        Control& c = AddControl(*panel, id, child);
        QString callback = child->property("callback").toString();
        if (!callback.isEmpty()) c.callback = FindCtrlCallback(callback.toUtf8().constData());
    }
    if (panel->canvas != widget) InstallCanvasPainter(*panel);
    CollectAnchors(*panel);
    QString callback = PanelCallbackName(widget);
    if (!callback.isEmpty()) panel->callback = FindPanelCallback(callback.toUtf8().constData());
    widget->installEventFilter(g_watcher);
    int handle = panel->handle;
    g_windowPanels[widget] = handle;
    g_panels.emplace(handle, std::move(panel));
    return handle;
}

int DisplayPanel(int panel)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    KeepOnScreen(*p);
    p->window->show();
    p->window->raise();
    return 0;
}

int HidePanel(int panel)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    p->window->hide();
    return 0;
}

int DiscardPanel(int panel)
{
    if (!FindPanel(panel)) return -1;
    DestroyPanel(panel);
    return 0;
}

int SetPanelPos(int panel, int top, int left)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    QRect g = p->window->geometry();
    p->window->setGeometry(left, top, g.width(), g.height());
    p->placed = true;
    if (p->window->isVisible()) KeepOnScreen(*p);
    return 0;
}

int GetPanelAttribute(int panel, int attribute, int* value)
{
    Panel* p = FindPanel(panel);
    if (!p || !value) return -1;
    QRect g = p->window->geometry();
    switch (attribute) {
        case ATTR_TOP:
            *value = g.top();
            return 0;
        case ATTR_LEFT:
            *value = g.left();
            return 0;
        case ATTR_WIDTH:
            *value = g.width();
            return 0;
        case ATTR_HEIGHT:
            *value = g.height();
            return 0;
        case ATTR_VISIBLE:
            *value = p->window->isVisible() ? 1 : 0;
            return 0;
        default:
            return -1;
    }
}

int SetPanelAttribute(int panel, int attribute, int value)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    QRect g = p->window->geometry();
    switch (attribute) {
        case ATTR_TOP:
            p->window->setGeometry(g.left(), value, g.width(), g.height());
            p->placed = true;
            return 0;
        case ATTR_LEFT:
            p->window->setGeometry(value, g.top(), g.width(), g.height());
            p->placed = true;
            return 0;
        case ATTR_WIDTH:
            p->window->resize(std::max(value, 1), g.height());
            return 0;
        case ATTR_HEIGHT:
            p->window->resize(g.width(), std::max(value, 1));
            return 0;
        case ATTR_VISIBLE:
            p->window->setVisible(value != 0);
            return 0;
        default:
            return -1;
    }
}

int SetPanelAttribute(int panel, int attribute, const char* value)
{
    Panel* p = FindPanel(panel);
    if (!p || !value || attribute != ATTR_TITLE) return -1;
    // Qt reads "[*]" in a title as the place of a modified mark; doubled, it
    // shows as itself, so the title shows the text as it stands.
    p->window->setWindowTitle(FromBytes(value).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
    return 0;
}

int SetActiveCtrl(int panel, int control)
{
    Control* c = FindControl(panel, control);
    if (!c || !c->widget) return -1;
    c->widget->setFocus(Qt::OtherFocusReason);
    return 0;
}

int GetActiveCtrl(int panel)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    // The focus may sit in a part of a control (a numeric control's text).
    for (const QWidget* w = p->window->focusWidget(); w && w != p->window; w = w->parentWidget()) {
        for (const Control& c : p->controls) {
            if (c.widget == w) return c.id;
        }
    }
    return -1;
}

int InstallPanelCallback(int panel, PanelCallbackPtr callback, void* callbackData)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    p->callback = callback;
    p->callbackData = callbackData;
    return 0;
}

// ---- Registry ---------------------------------------------------------------

void RegisterCtrlCallback(const char* name, CtrlCallbackPtr callback)
{
    CtrlRegistry()[name] = callback;
}
void RegisterPanelCallback(const char* name, PanelCallbackPtr callback)
{
    PanelRegistry()[name] = callback;
}

CtrlCallbackPtr FindCtrlCallback(const char* name)
{
    auto it = CtrlRegistry().find(name);
    return it == CtrlRegistry().end() ? nullptr : it->second;
}

PanelCallbackPtr FindPanelCallback(const char* name)
{
    auto it = PanelRegistry().find(name);
    return it == PanelRegistry().end() ? nullptr : it->second;
}

// ---- Inspection -------------------------------------------------------------

bool InspectResource(const char* fileName, std::vector<ResourcePanelInfo>& panels,
                     std::vector<ResourceControlInfo>& controls)
{
    QWidget* root = LoadTree(fileName);
    if (!root) return false;
    std::vector<QWidget*> panelWidgets;
    bool ok = false;
    if (root->property("panel").toInt(&ok), ok) panelWidgets.push_back(root);
    for (QObject* child : root->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && (w->property("panel").toInt(&ok), ok)) panelWidgets.push_back(w);
    }
    for (QWidget* pw : panelWidgets) {
        int number = pw->property("panel").toInt();
        panels.push_back({number, pw->objectName().toStdString(), PanelCallbackName(pw).toStdString()});
        for (QWidget* child : pw->findChildren<QWidget*>()) {
            int id = child->property("ctrlId").toInt(&ok);
            if (!ok) continue;
            controls.push_back({number, id, child->objectName().toStdString(), KindName(KindOf(child)),
                                child->property("callback").toString().toStdString()});
        }
    }
    delete root;
    return true;
}

int CommitCtrl(int panel, int control)
{
    if (!FindControl(panel, control)) return -1;
    FireCommit(panel, control);
    return 0;
}

int CountLivePanels()
{
    return static_cast<int>(g_panels.size());
}

void SetScreensForTesting(const std::vector<ScreenArea>& areas, int frameTop, int frameSide)
{
    g_testScreens.areas.clear();
    for (const ScreenArea& a : areas) g_testScreens.areas.emplace_back(a.left, a.top, a.width, a.height);
    g_testScreens.frame = QMargins(frameSide, frameTop, frameSide, frameSide);
}
