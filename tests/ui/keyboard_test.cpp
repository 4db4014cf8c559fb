// The keyboard on spell and stacking windows: the control with the focus
// carries a visible mark, Tab reaches the "Link" buttons in row order, and
// Return and Space press the focused one, also after switching windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "popup/spell_uir.h"
#include "stacking/stacking_callbacks.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit_testing.h"
#include "ui_test_support.h"

namespace {

constexpr int kMana = 15;
constexpr int kWeaponProc = 85;  // links the spell whose id is in the slot's base
constexpr QRgb kMark = 0xFFC83D;

struct KeyboardTest : PopupTest {
    // Makes the panel's window the active one, as a click on it does.
    static void Activate(int panel)
    {
        QWidget* window = PanelWindow(panel);
        window->raise();
        QApplication::setActiveWindow(window);
    }
    // The colour just outside the widget's left edge, at its middle height.
    static QRgb LeftOf(QWidget* widget)
    {
        const QPoint at = widget->mapTo(widget->window(), QPoint(-2, widget->height() / 2));
        return widget->window()->grab().toImage().pixel(at) & 0xFFFFFF;
    }
    static std::string Name(int panel) { return Text(panel, SPELLPANEL_NAME); }
};

TEST_F(KeyboardTest, TabReachesTheLinksInRowOrderAndReturnOrSpacePressesTheMarkedOne)
{
    SpellStruct& spell = AddSpell(1, "Procs");
    SetSlot(spell, 0, kWeaponProc, 2);
    SetSlot(spell, 1, kMana, 5);
    SetSlot(spell, 3, kWeaponProc, 3);
    AddSpell(2, "First proc");
    AddSpell(3, "Second proc");
    const int panel = OpenSpell(0);
    Activate(panel);
    auto* close = static_cast<QPushButton*>(ControlWidget(panel, SPELLPANEL_CLOSE));
    close->setFocus(Qt::TabFocusReason);
    std::vector<std::string> reached;
    for (QWidget* w = close; reached.size() < 4;) {
        QTest::keyClick(w, Qt::Key_Tab);
        w = QApplication::focusWidget();
        if (auto* button = qobject_cast<QPushButton*>(w)) reached.push_back(button->text().toStdString());
        if (reached.size() == 1) {
            EXPECT_EQ(LeftOf(w), kMark) << "the focused Link has the mark";
        }
    }
    EXPECT_EQ(reached, (std::vector<std::string>{"Link", "Link", "Stacking", "Copy"}));
    EXPECT_NE(LeftOf(close), kMark) << "a control without the focus has none";

    close->setFocus(Qt::TabFocusReason);
    QTest::keyClick(close, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Name(LastPanel()), "First proc") << "Return pressed the first row's Link";
    Activate(panel);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(Name(LastPanel()), "Second proc") << "Space pressed the second row's Link";
}

// The stacking window draws its lines and "Link" buttons itself: the same
// keys and the same mark reach them.
TEST_F(KeyboardTest, StackingLinksTakeTheFocusAndKeepItWhenTheWindowIsActiveAgain)
{
    SetSlot(AddSpell(1, "Given"), 0, kMana, 5);
    SetSlot(AddSpell(2, "Larger"), 0, kMana, 9);
    SetSlot(AddSpell(3, "Smaller"), 0, kMana, 7);
    ASSERT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0), 0);
    const int stacking = LastPanel();
    Activate(stacking);
    QWidget* canvas = PanelCanvas(stacking);
    ControlWidget(stacking, STACKPANEL_COPY_MENU)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), canvas);
    QTest::keyClick(canvas, Qt::Key_Tab);
    QTest::keyClick(canvas, Qt::Key_Return);
    EXPECT_EQ(Name(LastPanel()), "Smaller") << "the second line's Link";

    Activate(stacking);
    EXPECT_EQ(QApplication::focusWidget(), canvas);
    QTest::keyClick(canvas, Qt::Key_Space);
    EXPECT_EQ(Name(LastPanel()), "Smaller") << "Space after switching back, not Close";
    QTest::keyClick(canvas, Qt::Key_Backtab);
    const QImage shown = PanelWindow(stacking)->grab().toImage();
    const int link = STACKPANEL_LEVEL + 4;  // after the slot's header, the line's name and sentence
    ASSERT_EQ(ControlKind(stacking, link), "button");
    const QPoint left(Attr(stacking, link, ATTR_LEFT) - 2,
                      Attr(stacking, link, ATTR_TOP) + Attr(stacking, link, ATTR_HEIGHT) / 2);
    const QPoint mark = canvas->mapTo(PanelWindow(stacking), left);
    EXPECT_EQ(shown.pixel(mark) & 0xFFFFFF, kMark) << "the first line's Link has the mark";
    QTest::keyClick(canvas, Qt::Key_Space);
    EXPECT_EQ(Name(LastPanel()), "Larger");
}

}  // namespace
