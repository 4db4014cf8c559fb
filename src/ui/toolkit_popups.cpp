// Modal popups: message boxes, the file chooser and popup menus, behind a
// hook that tests replace; and the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QVBoxLayout>
#include <cstdio>
#include <cstring>
#include <string>

#include "data/text_encoding.h"
#include "ui/toolkit_internal.h"
#include "ui/toolkit_testing.h"

namespace {

DialogHook* g_hook = nullptr;

// "spells_us.txt; *.txt; *.*" becomes one Qt filter per pattern.
QString QtFilters(const char* fileTypeList)
{
    QStringList filters;
    for (const QString& part :
         QString::fromUtf8(fileTypeList ? fileTypeList : "").split(';', Qt::SkipEmptyParts)) {
        QString pattern = part.trimmed();
        if (pattern.isEmpty()) continue;
        if (pattern == "*.*" || pattern == "*") {
            filters << QStringLiteral("All files (*)");
        } else {
            filters << QStringLiteral("%1 (%2)").arg(pattern, pattern);
        }
    }
    return filters.join(";;");
}

// Answers every dialog on standard error: a message is written there and a
// file chooser is cancelled.
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

}  // namespace

void UseConsoleDialogs()
{
    static ConsoleDialogs dialogs;
    SetDialogHook(&dialogs);
}

void SetDialogHook(DialogHook* hook)
{
    g_hook = hook;
}

int MessagePopup(const char* title, const char* message)
{
    if (!title || !message) return -1;
    if (g_hook) {
        g_hook->Message(title, message);
        return 0;
    }
    // The program's texts carry their own line breaks: show them as written,
    // without the narrow rewrapping of a standard message box.
    QDialog box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdString(TextToUtf8(title)));
    auto* text = new QLabel(QString::fromStdString(TextToUtf8(message)), &box);
    text->setTextFormat(Qt::PlainText);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* layout = new QVBoxLayout(&box);
    layout->setContentsMargins(20, 16, 20, 12);
    layout->setSpacing(14);
    layout->addWidget(text);
    layout->addWidget(buttons);
    box.exec();
    return 0;
}

int FileSelectPopup(const char* defaultDirectory, const char* defaultFileName, const char* fileTypeList,
                    const char* title, int buttonLabel, int restrictDirectory, int restrictExtension,
                    int allowCancel, int allowMakeDirectory, char* pathName)
{
    (void)buttonLabel, (void)restrictDirectory, (void)restrictExtension, (void)allowCancel;
    if (!pathName) return -1;
    std::string chosen;
    int result = VAL_NO_FILE_SELECTED;
    if (g_hook) {
        g_hook->FileSelectPlace(defaultDirectory ? defaultDirectory : "",
                                QtFilters(fileTypeList).toUtf8().constData());
        result = g_hook->FileSelect(defaultFileName ? defaultFileName : "", title ? title : "", chosen);
    } else {
        QFileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(title ? title : ""),
                           QString::fromUtf8(defaultDirectory ? defaultDirectory : ""),
                           QtFilters(fileTypeList));
        const bool save = buttonLabel == VAL_SAVE_BUTTON;
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setLabelText(QFileDialog::Accept, save ? QStringLiteral("Save") : QStringLiteral("OK"));
        if (!allowMakeDirectory && !save) dialog.setOption(QFileDialog::ReadOnly);
        if (defaultFileName && *defaultFileName) dialog.selectFile(QString::fromUtf8(defaultFileName));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            QString path = dialog.selectedFiles().first();
            chosen = path.toStdString();
            result = QFileInfo(path).isFile() ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
        }
    }
    if (result != VAL_EXISTING_FILE_SELECTED && result != VAL_NEW_FILE_SELECTED) return VAL_NO_FILE_SELECTED;
    if (chosen.empty()) return VAL_NO_FILE_SELECTED;
    // A path that does not fit the 260-byte buffer would be cut into another
    // path: the caller is told instead.
    if (chosen.size() > SPELL_FIELD_CHARS - 1) return VAL_PATH_TOO_LONG;
    std::memcpy(pathName, chosen.c_str(), chosen.size() + 1);
    return result;
}

int RunPopupMenu(int panel, int control, const std::vector<std::string>& items)
{
    toolkit::Control* c = toolkit::FindControl(panel, control);
    if (!c || !c->widget) return -1;
    if (g_hook) {
        const int chosen = g_hook->PopupMenu(items);
        return chosen >= 0 && chosen < static_cast<int>(items.size()) ? chosen : -1;
    }
    QMenu menu(c->widget);
    for (const std::string& item : items) menu.addAction(QString::fromStdString(item));
    const QAction* chosen = menu.exec(c->widget->mapToGlobal(QPoint(0, c->widget->height())));
    const QList<QAction*> actions = menu.actions();
    return chosen ? static_cast<int>(actions.indexOf(const_cast<QAction*>(chosen))) : -1;
}

void SetClipboardText(const char* text, const char* html)
{
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(text ? text : ""));
    if (html) data->setHtml(QString::fromUtf8(html));
    QGuiApplication::clipboard()->setMimeData(data);
}
