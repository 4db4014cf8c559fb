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
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
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

// Room a message box keeps beside its text, and what a window manager
// usually adds around a window.
constexpr int kBoxSide = 20;
constexpr int kUsualFrame = 4;
constexpr int kUsualTitleBar = 30;

// Sizes a message box's text: as wide as its longest line, but no wider than
// the screen allows (its lines then wrap), and as tall as the wrapped text,
// up to what the screen allows (it then scrolls).
void SizeMessageText(QTextEdit& text, const QRect& area)
{
    text.document()->setDocumentMargin(0);
    // The edit lays its own document out for its present, still unsized
    // viewport; a copy measures the text for the width chosen here.
    const std::unique_ptr<QTextDocument> copy(text.document()->clone());
    QTextDocument& document = *copy;
    document.setDocumentMargin(0);
    const QFontMetrics metrics(text.font());
    int natural = 0;
    for (const QString& line : text.toPlainText().split('\n'))
        natural = std::max(natural, metrics.horizontalAdvance(line));
    int width = natural + metrics.averageCharWidth();
    int height = QWIDGETSIZE_MAX;
    if (!area.isEmpty()) {
        width = std::min(width, area.width() - 2 * (kBoxSide + kUsualFrame));
        height = area.height() - kUsualTitleBar - 2 * kUsualFrame - 120;
    }
    const int scrollBar = text.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    document.setTextWidth(width);
    int needed = static_cast<int>(std::ceil(document.size().height()));
    if (needed > height) {
        document.setTextWidth(width - scrollBar);
        needed = height;
    }
    text.setVerticalScrollBarPolicy(needed < static_cast<int>(std::ceil(document.size().height()))
                                        ? Qt::ScrollBarAlwaysOn
                                        : Qt::ScrollBarAlwaysOff);
    text.setFixedSize(width, std::max(needed, metrics.height()));
}

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
    // without the narrow rewrapping of a standard message box. A line wider
    // than the screen wraps, between words or, for a long path, anywhere, so
    // that the box and its button stay on the screen.
    QWidget* parent = QApplication::activeWindow();
    QDialog box(parent);
    box.setWindowTitle(QString::fromStdString(TextToUtf8(title)));
    auto* text = new QTextEdit(&box);
    text->setPlainText(QString::fromStdString(TextToUtf8(message)));
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setFrameShape(QFrame::NoFrame);
    text->viewport()->setAutoFillBackground(false);
    text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* layout = new QVBoxLayout(&box);
    layout->setContentsMargins(kBoxSide, 16, kBoxSide, 12);
    layout->setSpacing(14);
    layout->addWidget(text);
    layout->addWidget(buttons);
    const QRect area = toolkit::ScreenAreaFor(parent ? parent->frameGeometry() : QRect());
    SizeMessageText(*text, area);
    box.adjustSize();
    if (!area.isEmpty()) {
        // Over its parent, or in the middle of the screen, and on the screen.
        QRect frame(QPoint(), box.size() + QSize(2 * kUsualFrame, kUsualTitleBar + kUsualFrame));
        frame.moveCenter(parent ? parent->frameGeometry().center() : area.center());
        if (frame.right() > area.right()) frame.moveRight(area.right());
        if (frame.bottom() > area.bottom()) frame.moveBottom(area.bottom());
        if (frame.left() < area.left()) frame.moveLeft(area.left());
        if (frame.top() < area.top()) frame.moveTop(area.top());
        box.move(frame.topLeft());
    }
    buttons->button(QDialogButtonBox::Ok)->setFocus();
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
