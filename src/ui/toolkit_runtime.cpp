// Start-up of the toolkit, the event loop, the cursor, and the resource files
// (found, read once and kept in memory).
#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QStyleFactory>
#include <QUiLoader>

#include "data/messages.h"
#include "ui/resource_location.h"
#include "ui/toolkit_internal.h"

namespace toolkit {
namespace {

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

}  // namespace

// Loads a resource file's widget tree, or nullptr.
QWidget* LoadTree(const char* fileName)
{
    QByteArray contents;
    if (!fileName || !ReadResource(fileName, contents)) return nullptr;
    QBuffer buffer(&contents);
    buffer.open(QIODevice::ReadOnly);
    return Loader().load(&buffer);
}

QString ResourcePath(const char* fileName)
{
    std::string problem;
    std::string path =
        LocateResourceFile(QCoreApplication::applicationDirPath().toStdString(), fileName, problem);
    if (!path.empty()) return QString::fromStdString(path);
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(fileName));
}

}  // namespace toolkit

using namespace toolkit;

namespace {

int g_waitCursorDepth = 0;

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
    InstallEventWatcher(app);
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
