// The circuit window: its menus, status fields, output panel and splitter, where it opens, and
// how closing windows and Quit end the program.

#include "EditorFixture.h"
#include "editor/window/StatusText.h"
#include "editor/window/UniqueShortcuts.h"
#include "support/MenuLabels.h"

#include "editor/actions/AddNodeMenu.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QSplitterHandle>
#include <QStatusBar>

namespace flow::test {
namespace {

using CircuitWindowTest = EditorFixture;

TEST_F(CircuitWindowTest, WindowHasItsMenusFieldsPanelAndSplitter) {
    Circuit& circuit = OpenWindow();
    CircuitWindow& window = *WindowOf(circuit);
    EXPECT_EQ(window.windowTitle(), "Untitled[*]");
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.minimumSize(), QSize(200, 150));

    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[0]->text(), "File");
    EXPECT_EQ(Labels(menus[0]->menu()),
              QStringList({"New", "Open", "Open Recent", "Save", "SaveAs", "Export Image\u2026",
                           "Import Sub-circuits\u2026", "Close", "Quit"}));
    const auto shortcut = [](const QMenu* menu, int index) {
        return menu->actions().value(index)->shortcut().toString(QKeySequence::PortableText);
    };
    EXPECT_EQ(shortcut(menus[0]->menu(), 3), "Ctrl+S");
    EXPECT_EQ(shortcut(menus[0]->menu(), 4), "Ctrl+Shift+S");
    EXPECT_EQ(shortcut(menus[0]->menu(), 7), "Ctrl+W");
    EXPECT_EQ(shortcut(menus[0]->menu(), 8), "Ctrl+Q");
    EXPECT_EQ(menus[1]->text(), "Edit");
    EXPECT_EQ(Labels(menus[1]->menu()), QStringList({"Undo",
                                                     "Redo",
                                                     "---",
                                                     "Cut",
                                                     "Copy",
                                                     "Paste",
                                                     "Duplicate",
                                                     "Delete",
                                                     "---",
                                                     "Select All",
                                                     "Find",
                                                     "Select Connected",
                                                     "---",
                                                     "Align",
                                                     "Distribute",
                                                     "---",
                                                     "Make Sub-circuit",
                                                     "Ungroup",
                                                     "Open Sub-circuit",
                                                     "Rename Sub-circuit\u2026"}));
    for (const auto& [index, key] :
         std::initializer_list<std::pair<int, const char*>>{{3, "Ctrl+X"},
                                                            {4, "Ctrl+C"},
                                                            {5, "Ctrl+V"},
                                                            {6, "Ctrl+D"},
                                                            {7, "Del"},
                                                            {9, "Ctrl+A"},
                                                            {10, "Ctrl+F"},
                                                            {16, "Ctrl+G"},
                                                            {17, "Ctrl+Shift+G"}})
        EXPECT_EQ(shortcut(menus[1]->menu(), index), key);
    EXPECT_EQ(shortcut(menus[1]->menu(), 0), "Ctrl+Z");
    EXPECT_EQ(menus[1]->menu()->actions()[1]->shortcuts(),
              QList<QKeySequence>({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
    EXPECT_FALSE(window.UndoAction()->isEnabled());
    EXPECT_EQ(menus[2]->text(), "View");
    EXPECT_EQ(
        Labels(menus[2]->menu()),
        QStringList({"Zoom In", "Zoom Out", "Fit Circuit", "Actual Size", "---", "Show Values",
                     "Overview", "Snap to Grid", "---", "Up", "---", "Run Timeline"}));
    for (const int choice : {5, 6, 7})
        EXPECT_TRUE(menus[2]->menu()->actions()[choice]->isCheckable());
    EXPECT_FALSE(menus[2]->menu()->actions()[5]->isChecked());
    EXPECT_FALSE(menus[2]->menu()->actions()[6]->isChecked()) << "the overview starts off";
    EXPECT_EQ(menus[2]->menu()->actions()[9]->shortcut(), QKeySequence(Qt::Key_Backspace));
    EXPECT_EQ(menus[3]->text(), "Run");
    EXPECT_EQ(
        Labels(menus[3]->menu()),
        QStringList({"Start", "Start With Inputs…", "Stop", "Repeat Last Seed", "---", "Pause", "Step",
                     "Toggle Breakpoint", "---", "Replay", "Replay Speed", "Run on Every Change"}));
    EXPECT_EQ(menus[3]->menu()->actions()[0]->shortcut(), QKeySequence(Qt::Key_F5));
    for (const auto& [index, key] : {std::pair{5, Qt::Key_F6}, {6, Qt::Key_F10}, {7, Qt::Key_F9}})
        EXPECT_EQ(menus[3]->menu()->actions()[index]->shortcut(), QKeySequence(key));
    EXPECT_EQ(Labels(Submenu(menus[3]->menu(), "Replay Speed")), QStringList({"½×", "1×", "2×"}));
    EXPECT_EQ(menus[3]->menu()->actions()[1]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F5));
    EXPECT_EQ(menus[4]->text(), "Help");
    EXPECT_EQ(Labels(menus[4]->menu()),
              QStringList({"Keyboard Shortcuts", "Functions", "About Flowlattice"}));

    const QMenu* add = AddNodeMenu();
    EXPECT_EQ(Labels(add),
              QStringList({"Logic", "Numeric", "Strings", "Compare", "---", "PrintN"}));
    EXPECT_EQ(Labels(Submenu(add, "Logic")),
              QStringList({"Constant (False)", "Constant (True)", "Input (Boolean)", "---",
                           "Not (\u00AC)", "And (\u2227)", "Or (\u2228)", "---", "Select", "Switch",
                           "Merge"}));
    EXPECT_EQ(Labels(Submenu(add, "Numeric")),
              QStringList({"Constant (Integer)", "Constant (Real)", "Input (Integer)",
                           "Input (Real)", "---", "Plus (+)", "Subtract (-)", "Times (*)",
                           "Divide (/)", "Remainder (mod)", "---", "ToInteger", "ToReal", "---",
                           "Random (Real)", "Random (Integer)"}));
    EXPECT_EQ(Labels(Submenu(add, "Strings")),
              QStringList({"Constant", "Input", "---", "ToString"}));
    EXPECT_EQ(Labels(Submenu(add, "Compare")),
              QStringList({"Equal (=)", "NotEqual (\u2260)", "---", "Less (<)",
                           "LessOrEqual (\u2264)", "Greater (>)", "GreaterOrEqual (\u2265)"}));

    auto* field0 = window.StatusFieldLabel(StatusField::Position);
    auto* field1 = window.StatusFieldLabel(StatusField::RunStatus);
    auto* field2 = window.StatusFieldLabel(StatusField::Hover);
    ASSERT_TRUE(field0 && field1 && field2);
    EXPECT_EQ(field0->width(), 90);
    EXPECT_EQ(field0->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(field1->width(), 200);
    EXPECT_GT(field2->width(), 200);

    const QPlainTextEdit& panel = PanelOf(circuit);
    EXPECT_TRUE(panel.isReadOnly());
    EXPECT_EQ(panel.palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(panel.palette().color(QPalette::Text), QColor(192, 192, 192));
    EXPECT_EQ(panel.font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(panel.font().pointSize(), 12);

    const QSplitter& splitter = *WindowOf(circuit)->Splitter();
    EXPECT_EQ(splitter.orientation(), Qt::Vertical);
    EXPECT_EQ(splitter.handleWidth(), 4);
    EXPECT_EQ(splitter.widget(0), &CanvasOf(circuit));
    EXPECT_EQ(splitter.sizes().value(1), 0) << "the output panel starts collapsed";
    // The separator stays at the bottom, where the user can drag it up.
    EXPECT_EQ(CanvasOf(circuit).height(), splitter.height() - 4);
    EXPECT_TRUE(CanvasOf(circuit).hasFocus());
}

TEST_F(CircuitWindowTest, EveryKeySequenceBelongsToOneActionAndCtrlDDuplicates) {
    Circuit& circuit = OpenWindow();
    QHash<QKeySequence, QString> owners;
    for (const QAction* action : WindowOf(circuit)->findChildren<QAction*>())
        for (const QKeySequence& key : action->shortcuts()) {
            EXPECT_FALSE(owners.contains(key))
                << key.toString().toStdString() << ": " << owners.value(key).toStdString()
                << " and " << action->text().toStdString();
            owners.insert(key, action->text());
        }
    // A platform key of one command that is the chosen key of another stays with the latter.
    QAction erase, duplicate;
    erase.setShortcuts({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_D)});
    duplicate.setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_D)});
    KeepShortcutsUnique({&erase, &duplicate});
    EXPECT_EQ(erase.shortcuts(), QList<QKeySequence>({QKeySequence(Qt::Key_Delete)}));
    EXPECT_EQ(duplicate.shortcuts(), QList<QKeySequence>({QKeySequence(Qt::CTRL | Qt::Key_D)}));

    OnMenu(circuit, Command::SelectAll);
    Place(circuit, "Constant (Integer)", 0, 0);
    OnMenu(circuit, Command::SelectAll);
    Key(circuit, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 2u);
}

TEST_F(CircuitWindowTest, PlacementFollowsStoredGeometryCascadeOrCentre) {
    Circuit& stored = OpenWindow({640, 400});
    EXPECT_EQ(WindowOf(stored)->size(), QSize(640, 400));
    EXPECT_EQ(WindowOf(stored)->frameGeometry().topLeft(), QPoint(100, 80));

    // File New from a window in front: 40 pixels right and down, same inner size.
    Comment* note = AddComment(&stored.MainFrame, "note", 0, 0);
    MoveTo(stored, 10, 8);
    ASSERT_TRUE(note->Flags & ObjectFlag::Hovered);
    QApplication::setActiveWindow(WindowOf(stored));
    ASSERT_EQ(QApplication::activeWindow(), WindowOf(stored));
    OnMenu(stored, Command::New);
    // The command redraws its own window, outside a canvas event: the highlight goes.
    EXPECT_FALSE(note->Flags & ObjectFlag::Hovered);
    Circuit& cascaded = *Circuits().back();
    ASSERT_NE(&cascaded, &stored);
    ASSERT_NE(WindowOf(cascaded), nullptr);
    EXPECT_EQ(WindowOf(cascaded)->size(), QSize(640, 400));
    EXPECT_EQ(WindowOf(cascaded)->frameGeometry().topLeft(), QPoint(140, 120));
    EXPECT_EQ(OpenWindowCount(), 2);

    // No circuit window in front: 800 x 600 in the middle of the screen.
    QApplication::setActiveWindow(nullptr);
    Circuit& centred = OpenCircuitWindow(NewCircuit());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(WindowOf(centred)->size(), QSize(800, 600));
    // Centred up to the window border, which is not known before the window shows.
    EXPECT_LE((WindowOf(centred)->frameGeometry().center() - screen.center()).manhattanLength(), 8);
}

TEST_F(CircuitWindowTest, ClosingOneOfTwoWindowsKeepsTheOtherAndTheLastEndsTheProgram) {
    Circuit& first = OpenWindow();
    Circuit& second = OpenWindow();
    ASSERT_EQ(OpenWindowCount(), 2);

    WindowOf(first)->close(); // the close box
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(WindowOf(first), nullptr);
    EXPECT_EQ(ViewOf(first), nullptr);
    EXPECT_EQ(OpenWindowCount(), 1);
    EXPECT_EQ(programEnds, 0);
    ASSERT_NE(WindowOf(second), nullptr);
    EXPECT_TRUE(WindowOf(second)->isVisible());

    OnMenu(second, Command::Close);
    EXPECT_EQ(OpenWindowCount(), 0);
    EXPECT_EQ(programEnds, 1);
}

TEST_F(CircuitWindowTest, StatusFieldsStayApartWhateverTheyHold) {
    Circuit& circuit = OpenWindow();
    CircuitWindow& window = *WindowOf(circuit);
    const QString runStatus = "Execution ... finished: 2 nodes never fired";
    SetStatusText(circuit, StatusField::Position, "-123456, -123456");
    SetStatusText(circuit, StatusField::RunStatus, runStatus);
    SetStatusText(circuit, StatusField::Hover, "Port (In): y (Integer)");
    window.statusBar()->layout()->activate();
    const auto textStart = [](const QLabel* field) {
        return field->geometry().left() + field->contentsMargins().left();
    };
    const QLabel* run = window.StatusFieldLabel(StatusField::RunStatus);
    const QLabel* hover = window.StatusFieldLabel(StatusField::Hover);
    const int runTextEnd = textStart(run) + run->fontMetrics().horizontalAdvance(runStatus);
    EXPECT_LE(runTextEnd, run->contentsRect().right() + run->geometry().left() + 1);
    EXPECT_GE(textStart(hover) - runTextEnd, 10) << "a line and some room between the texts";
    const QRect runPlace = run->geometry();

    // A hover text longer than the bar is cut where the bar ends; nothing before it moves.
    SetStatusText(circuit, StatusField::Hover, QString(400, QLatin1Char('W')));
    window.statusBar()->layout()->activate();
    EXPECT_EQ(run->geometry(), runPlace);
    EXPECT_EQ(window.width(), 800);
    const QLabel* position = window.StatusFieldLabel(StatusField::Position);
    EXPECT_LT(position->geometry().right(), run->geometry().left());
    EXPECT_LT(run->geometry().right(), hover->geometry().left());
}

TEST_F(CircuitWindowTest, TheOutputPanelKeepsTheHeightTheUserGaveItBetweenStarts) {
    // The user drags the separator by dy pixels.
    const auto drag = [](const Circuit& circuit, int dy) {
        QSplitterHandle* handle = WindowOf(circuit)->Splitter()->handle(1);
        const QPoint grip(handle->width() / 2, handle->height() / 2);
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, grip);
        QMouseEvent move(QEvent::MouseMove, grip + QPoint(0, dy),
                         handle->mapToGlobal(grip + QPoint(0, dy)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, grip + QPoint(0, dy));
        return WindowOf(circuit)->Splitter()->sizes().value(1);
    };
    Circuit& first = OpenWindow();
    EXPECT_EQ(WindowOf(first)->Splitter()->sizes().value(1), 0);
    const int height = drag(first, -150);
    EXPECT_GT(height, 140);
    OnMenu(first, Command::Close);

    // The next window, as after a new start, opens with it; a printed line leaves it so.
    Circuit& second = OpenWindow();
    EXPECT_EQ(WindowOf(second)->Splitter()->sizes().value(1), height);
    AppendOutputLines(second, {"5"}, {0});
    EXPECT_EQ(WindowOf(second)->Splitter()->sizes().value(1), height);
    // Dragged shut, it opens collapsed, and a printed line opens it to 76 pixels.
    EXPECT_EQ(drag(second, 1000), 0);
    OnMenu(second, Command::Close);
    Circuit& third = OpenWindow();
    EXPECT_EQ(WindowOf(third)->Splitter()->sizes().value(1), 0);
    AppendOutputLines(third, {"5"}, {0});
    EXPECT_EQ(WindowOf(third)->Splitter()->sizes().value(1), 76);
}

TEST_F(CircuitWindowTest, QuitClosesEveryWindowAtOnce) {
    OpenWindow();
    Circuit& second = OpenWindow();
    OnMenu(second, Command::Quit);
    EXPECT_EQ(OpenWindowCount(), 0);
    EXPECT_EQ(programEnds, 1);
    for (const auto& circuit : Circuits())
        EXPECT_EQ(WindowOf(*circuit), nullptr);
}

} // namespace
} // namespace flow::test
