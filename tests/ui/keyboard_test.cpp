// The keyboard and links on spell and stacking windows: the control with the
// focus carries a visible mark, Tab reaches the named spells and the "Link"
// buttons in row order, Return and Space press the focused one, also after
// switching windows, and a click on a name does what its button does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
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
    // The colour just outside the left edge of the widget (or of a part of it),
    // at its middle height.
    static QRgb LeftOf(QWidget* widget, QRect part = {})
    {
        if (part.isEmpty()) part = widget->rect();
        const QPoint at = widget->mapTo(widget->window(), QPoint(part.left() - 2, part.center().y()));
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
    const int firstName = SPELLPANEL_EFFECTS_CAPTION + 1;  // the first row's text
    std::vector<std::string> reached;
    for (QWidget* w = close; reached.size() < 6;) {
        QTest::keyClick(w, Qt::Key_Tab);
        w = QApplication::focusWidget();
        auto* button = qobject_cast<QPushButton*>(w);
        reached.push_back(button ? button->text().toStdString() : "name");
        if (reached.size() <= 2) {
            EXPECT_EQ(LeftOf(w, button ? QRect() : LinkPlace(panel, firstName)), kMark) << "the focused one";
        }
    }
    EXPECT_EQ(reached, (std::vector<std::string>{"name", "Link", "name", "Link", "Stacking", "Copy"}));
    EXPECT_NE(LeftOf(close), kMark) << "a control without the focus has none";

    close->setFocus(Qt::TabFocusReason);
    QTest::keyClick(close, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Name(LastPanel()), "First proc") << "Return on the first row's name";
    Activate(panel);
    for (int i = 0; i < 3; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(Name(LastPanel()), "Second proc") << "Space pressed the second row's Link";
}

// The stacking window draws its lines, names and "Link" buttons itself: the
// same keys and the same mark reach them.
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
    QTest::keyClick(canvas, Qt::Key_Tab);  // the first line's Link, after its name
    QTest::keyClick(canvas, Qt::Key_Tab);
    QTest::keyClick(canvas, Qt::Key_Return);
    EXPECT_EQ(Name(LastPanel()), "Smaller") << "the second line's name";

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

// A name that is a link: a hand under the mouse, and a click opens what the
// button beside it (or, in the list, a double click) opens.
struct NameLink {
    const char* name;
    bool stacking;  // in the stacking window, else in the spell window
    int control;
    const char* opens;
};
const NameLink kNameLinks[] = {
    {"effect row", false, SPELLPANEL_EFFECTS_CAPTION + 2, "Proc target"},  // after the first row's text
    {"linked spell", false, SPELLPANEL_LINKED_SPELL, "Linked target"},
    {"referenced by", false, SPELLPANEL_REFERENCED_BY, "Referrer"},
    {"stacking line", true, STACKPANEL_LEVEL + 2, "Linked target"},  // after the slot's header
};
struct NameLinkTest : KeyboardTest, testing::WithParamInterface<NameLink> {};

TEST_P(NameLinkTest, ShowsAHandAndOpensWhatItsButtonOpens)
{
    SpellStruct& given = AddSpell(1, "Given");
    SetSlot(given, 0, kMana, 5);
    SetSlot(given, 1, kWeaponProc, 2);
    given.linkedSpell = 3;
    AddSpell(2, "Proc target");
    SetSlot(AddSpell(3, "Linked target"), 0, kMana, 9);
    AddSpell(4, "Referrer").linkedSpell = 1;
    int panel = OpenSpell(0);
    if (GetParam().stacking) {
        ASSERT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0), 0);
        panel = LastPanel();
    }
    QWidget* target = ControlWidget(panel, GetParam().control);
    QPoint at = LinkPlace(panel, GetParam().control).center();
    if (auto* list = qobject_cast<QListWidget*>(target)) {
        target = list->viewport();
        at = list->visualItemRect(list->item(0)).center();
    }
    if (!target) target = PanelCanvas(panel);
    // Through the window, to whatever lies above the name.
    QWindow* window = target->window()->windowHandle();
    QTest::mouseMove(window, target->mapTo(target->window(), at));
    EXPECT_EQ(target->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(window, Qt::LeftButton, {}, target->mapTo(target->window(), at));
    EXPECT_EQ(Name(LastPanel()), GetParam().opens);
}
INSTANTIATE_TEST_SUITE_P(Names, NameLinkTest, testing::ValuesIn(kNameLinks), RowName());

}  // namespace
