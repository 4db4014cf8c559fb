// Run-time controls on a scrolling canvas are drawn by the canvas: the same
// operations as widgets, and they scale to tens of thousands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>

#include "ui/toolkit.h"

namespace {

int g_commits = 0;
void* g_lastData = nullptr;
int CountCommit(int, int, int event, void* data, int, int)
{
    if (event == EVENT_COMMIT) {
        ++g_commits;
        g_lastData = data;
    }
    return 0;
}

QWidget* Canvas()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "canvasTestPanel") return w->findChild<QWidget*>("canvas");
    }
    return nullptr;
}

class CanvasTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_commits = 0;
        panel = LoadPanel(0, "toolkit_canvas_test.uir", 1);
        ASSERT_GT(panel, 0);
    }
    void TearDown() override { DiscardPanel(panel); }
    int panel = 0;
};

TEST_F(CanvasTest, PaintedControlsKeepValuesAndGeometryWithoutWidgets)
{
    int field = NewCtrl(panel, CTRL_STRING, "Slot 1: ", 25, 100);
    SetCtrlAttribute(panel, field, ATTR_WIDTH, 600);
    SetCtrlAttribute(panel, field, ATTR_LABEL_LEFT, 50);
    SetCtrlAttribute(panel, field, ATTR_LABEL_POINT_SIZE, 16);
    SetCtrlAttribute(panel, field, ATTR_TEXT_POINT_SIZE, 16);
    SetCtrlVal(panel, field, "Increase Armor Class by 5");
    TextField text{};
    GetCtrlVal(panel, field, text);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 5");
    int v = 0;
    GetCtrlAttribute(panel, field, ATTR_WIDTH, &v);
    EXPECT_EQ(v, 600);
    GetCtrlAttribute(panel, field, ATTR_LABEL_LEFT, &v);
    EXPECT_EQ(v, 50);
    GetCtrlAttribute(panel, field, ATTR_TEXT_POINT_SIZE, &v);
    EXPECT_EQ(v, 16);
    SetCtrlAttribute(panel, field, ATTR_TOP, 100);
    GetCtrlAttribute(panel, field, ATTR_LABEL_TOP, &v);
    EXPECT_GT(v, 90) << "the caption moves with its field";
    // No widget was made for it.
    EXPECT_EQ(Canvas()->findChildren<QLabel*>().size(), 0);
}

TEST_F(CanvasTest, ResourceControlsOnTheCanvasStayWidgets)
{
    SetCtrlAttribute(panel, 1, ATTR_TOP, 400);
    SetCtrlAttribute(panel, 1, ATTR_FRAME_COLOR, 0x000080);
    SetCtrlAttribute(panel, 1, ATTR_VISIBLE, 1);
    int v = 0;
    GetCtrlAttribute(panel, 1, ATTR_FRAME_COLOR, &v);
    EXPECT_EQ(v, 0x000080);
    EXPECT_GE(Canvas()->minimumHeight(), 455) << "the canvas grows to scroll to the frame";
}

TEST_F(CanvasTest, PaintedButtonsCommitOnClickAndThroughTheSeam)
{
    int data = 42;
    int button = NewCtrl(panel, CTRL_SQUARE_COMMAND_BUTTON, "Link", 47, 40);
    SetCtrlAttribute(panel, button, ATTR_WIDTH, 20);
    SetCtrlAttribute(panel, button, ATTR_HEIGHT, 8);
    SetCtrlAttribute(panel, button, ATTR_CMD_BUTTON_COLOR, 0x008000);
    InstallCtrlCallback(panel, button, CountCommit, &data);
    DisplayPanel(panel);
    QApplication::processEvents();
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(50, 51));
    EXPECT_EQ(g_commits, 1);
    EXPECT_EQ(g_lastData, &data);
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(50, 80));
    EXPECT_EQ(g_commits, 1) << "a click beside the button does nothing";
    EXPECT_EQ(CommitCtrl(panel, button), 0);
    EXPECT_EQ(g_commits, 2);
    EXPECT_EQ(Canvas()->findChildren<QPushButton*>().size(), 0);
}

TEST_F(CanvasTest, PaintedControlsAreDrawn)
{
    int button = NewCtrl(panel, CTRL_SQUARE_COMMAND_BUTTON, "", 10, 10);
    SetCtrlAttribute(panel, button, ATTR_WIDTH, 40);
    SetCtrlAttribute(panel, button, ATTR_HEIGHT, 20);
    SetCtrlAttribute(panel, button, ATTR_CMD_BUTTON_COLOR, 0x008000);
    DisplayPanel(panel);
    QImage image = Canvas()->grab().toImage();
    EXPECT_EQ(image.pixelColor(30, 20), QColor(0x00, 0x80, 0x00));
}

TEST_F(CanvasTest, FiftyThousandRowsAreCheap)
{
    for (int r = 0; r < 50000; ++r) {
        int field = NewCtrl(panel, CTRL_STRING, "", 45 + 25 * r, 70);
        SetCtrlAttribute(panel, field, ATTR_WIDTH, 220);
        SetCtrlVal(panel, field, "Spell name");
    }
    DisplayPanel(panel);
    QApplication::processEvents();
    EXPECT_GE(Canvas()->minimumHeight(), 45 + 25 * 49999);
    auto* area = Canvas()->parentWidget()->parentWidget();
    EXPECT_NE(qobject_cast<QScrollArea*>(area), nullptr);
}

}  // namespace
