// Runs started from a window and what the window shows of them: printed lines in the output
// panel, run states and defects, and windows closed while a run is in flight.

#include "EditorFixture.h"
#include "editor/window/StatusText.h"

#include "editor/actions/MenuCommands.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/window/WindowObserver.h"
#include "engine/NodeThreads.h"
#include "engine/ThreadReserve.h"
#include "render/Redraw.h"

#include <algorithm>

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

#include <thread>

namespace flow::test {
namespace {

class WindowObserverTest : public EditorFixture {
  protected:
    // An example in the window its file describes; an empty window when it does not load.
    Circuit& OpenExample(const char* name) {
        Circuit* circuit = OpenExampleWindow(QString::fromLatin1(name));
        EXPECT_NE(circuit, nullptr) << name;
        return circuit ? *circuit : OpenWindow();
    }
};

TEST_F(WindowObserverTest, F5PrintsIntoThePanelWhichOpensTo76Pixels) {
    Circuit& circuit = OpenExample("sum.xml");
    EXPECT_EQ(WindowOf(circuit)->frameGeometry().topLeft(), QPoint(312, 140));
    EXPECT_EQ(WindowOf(circuit)->size(), QSize(800, 600));
    EXPECT_EQ(WindowOf(circuit)->Splitter()->sizes().value(1), 0);
    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 1));
    EXPECT_EQ(PanelOf(circuit).toPlainText(), "5");
    EXPECT_EQ(WindowOf(circuit)->Splitter()->sizes().value(1), 76);
    EXPECT_EQ(StatusText(circuit, StatusField::RunStatus), "Execution ... finished");

    // A second run starts with an empty panel.
    Key(circuit, Qt::Key_F5);
    QTest::qWait(200);
    EXPECT_EQ(PanelOf(circuit).toPlainText(), "5");
}

// The threads of a run are started in the background while the circuit is open and whenever an
// edit adds nodes; F5 then finds them ready.
TEST_F(WindowObserverTest, ThreadsAreStartedAheadWhileTheCircuitIsOpenAndEdited) {
    EndThreadReserve();
    Circuit& circuit = OpenExample("sum.xml");
    WaitForThreadReserve();
    EXPECT_EQ(ParkedThreads(), 4u);

    OnMenu(circuit, Command::SelectAll);
    OnMenu(circuit, Command::Duplicate);
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 8u);
    WaitForThreadReserve();
    EXPECT_EQ(ParkedThreads(), 8u);
    OnMenu(circuit, Command::Undo); // needs fewer: nothing more is started
    WaitForThreadReserve();
    EXPECT_EQ(ParkedThreads(), 8u);
    OnMenu(circuit, Command::Redo);

    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 2));
    EXPECT_EQ(PanelOf(circuit).toPlainText(), "5\n5");
    EXPECT_EQ(ParkedThreads(), 0u);

    // A circuit that had no run for the idle delay lets its threads go; F5 starts them again.
    const auto delay = IdleThreadDelay();
    SetIdleThreadDelay(std::chrono::milliseconds(50));
    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 2));
    const auto running = [&] {
        return std::count_if(circuit.MainFrame.Nodes.begin(), circuit.MainFrame.Nodes.end(),
                             [&](const auto& node) {
                                 const NodeRun* run = SessionOf(circuit).RunOf(*node);
                                 return run && run->Thread != nullptr;
                             });
    };
    EXPECT_EQ(running(), 8);
    EXPECT_TRUE(QTest::qWaitFor([&] { return running() == 0; }, 5000));
    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 2));
    EXPECT_EQ(PanelOf(circuit).toPlainText(), "5\n5");
    // Parked threads nobody asks for go as well.
    ReserveThreads(3);
    WaitForThreadReserve();
    EXPECT_TRUE(QTest::qWaitFor([] { return ParkedThreads() == 0; }, 5000));
    SetIdleThreadDelay(delay);
    EndThreadReserve();
}

// The run state is drawn while the work of each phase goes on, not in one repaint after it: the
// canvas and the status text reach the screen at the start of preparation and of execution.
QString StateName(RunState state) {
    switch (state) {
    case RunState::Initializing:
        return QStringLiteral("initializing");
    case RunState::Executing:
        return QStringLiteral("executing");
    default:
        return QStringLiteral("other");
    }
}

TEST_F(WindowObserverTest, EachRunStateReachesTheScreenBeforeItsWorkGoesOn) {
    Circuit& circuit = OpenExample("sum.xml");
    struct PaintWatch : QObject {
        Circuit* watched = nullptr;
        QStringList seen;
        bool eventFilter(QObject* object, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                seen << QStringLiteral("%1 %2")
                            .arg(object->objectName())
                            .arg(StateName(SessionOf(*watched).State()));
            return false;
        }
    } watch;
    watch.watched = &circuit;
    CanvasOf(circuit).setObjectName("canvas");
    QWidget* status = WindowOf(circuit)->StatusFieldLabel(StatusField::RunStatus);
    status->setObjectName("StatusField1");
    CanvasOf(circuit).installEventFilter(&watch);
    status->installEventFilter(&watch);
    Key(circuit, Qt::Key_F5);
    const int initializing = int(watch.seen.indexOf("canvas initializing"));
    const int executing = int(watch.seen.indexOf("canvas executing"));
    ASSERT_GE(initializing, 0) << watch.seen.join(", ").toStdString();
    EXPECT_GT(executing, initializing);
    EXPECT_TRUE(watch.seen.contains("StatusField1 initializing"));
    EXPECT_TRUE(watch.seen.contains("StatusField1 executing"));
    CanvasOf(circuit).removeEventFilter(&watch);
    status->removeEventFilter(&watch);
}

// A Start takes the scene of its first repaint for the later ones; what reaches the canvas must
// still be what a full drawing of the circuit gives: after a run, after a defect that moved the
// camera, after a defect found where the camera already was, with a hovered node.
TEST_F(WindowObserverTest, TheFramesOfAStartAreTheFullDrawing) {
    const auto expectFullDrawing = [](Circuit& circuit, const char* when) {
        const QImage& shown = CanvasOf(circuit).Surface();
        QImage full(shown.size(), QImage::Format_ARGB32_Premultiplied);
        full.setDevicePixelRatio(shown.devicePixelRatio());
        RedrawCircuitInto(*ViewOf(circuit), full);
        EXPECT_TRUE(shown == full) << when;
    };
    Circuit& sum = OpenExample("sum.xml");
    const Node& plus = *sum.MainFrame.Nodes.back();
    MoveTo(sum, Middle(plus).x(), Middle(plus).y());
    ASSERT_TRUE(plus.Flags & ObjectFlag::Hovered);
    const QString hovered = StatusText(sum, StatusField::Hover);
    ASSERT_FALSE(hovered.isEmpty());
    Key(sum, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(sum, 1));
    expectFullDrawing(sum, "after a run");
    EXPECT_EQ(StatusText(sum, StatusField::Hover),
              hovered); // the repaints that took the scene keep the hover

    Circuit& defect = OpenExample("defect.xml");
    const Int cameraX = ViewOf(defect)->CameraX;
    Key(defect, Qt::Key_F5);
    ASSERT_EQ(SessionOf(defect).State(), RunState::Defect);
    ASSERT_NE(ViewOf(defect)->CameraX, cameraX);
    expectFullDrawing(defect, "after a defect that moved the camera");
    Key(defect, Qt::Key_F5);
    expectFullDrawing(defect, "after a defect where the camera was");
}

TEST_F(WindowObserverTest, ADefectIsShownInTheStatusBar) {
    Circuit& circuit = OpenExample("defect.xml");
    Key(circuit, Qt::Key_F5);
    EXPECT_EQ(StatusText(circuit, StatusField::RunStatus), "Defect!");
    EXPECT_EQ(SessionOf(circuit).Fault().Message, "Missing input port connection");
    EXPECT_FLOAT_EQ(ViewOf(circuit)->Magnification, 2.0f);
    QTest::qWait(50);
    EXPECT_TRUE(PanelOf(circuit).toPlainText().isEmpty());
}

TEST_F(WindowObserverTest, ClosingAWindowDuringARunNeitherCrashesNorHangs) {
    Circuit& looping = OpenExample("cycle.xml");
    Circuit& other = OpenWindow();
    Key(looping, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(looping, 1)); // the Print outside the loop
    WindowOf(looping)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Every thread of the run, those waiting on the cycle too, left at its stop: none was left
    // running after the grace period. The circuit itself is freed later, from the event loop.
    EXPECT_FALSE(ThreadsStillRunIn(SessionOf(looping)));
    EXPECT_EQ(WindowOf(looping), nullptr);
    EXPECT_EQ(OpenWindowCount(), 1);
    QTest::qWait(50);
    EXPECT_NE(WindowOf(other), nullptr);
    EXPECT_EQ(programEnds, 0);
}

TEST_F(WindowObserverTest, QuitDuringARunNeitherCrashesNorHangs) {
    Circuit& looping = OpenExample("cycle.xml");
    Circuit& sum = OpenExample("sum.xml");
    Key(looping, Qt::Key_F5);
    Key(sum, Qt::Key_F5);
    QMenu* file = WindowOf(sum)->menuBar()->actions().value(0)->menu();
    ASSERT_NE(file, nullptr);
    for (QAction* action : file->actions())
        if (action->text() == "Quit") action->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(ThreadsStillRunIn(SessionOf(looping)));
    EXPECT_FALSE(ThreadsStillRunIn(SessionOf(sum)));
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(OpenWindowCount(), 0);
    QTest::qWait(100); // late lines have nowhere to go
}

TEST_F(WindowObserverTest, PrintedLinesOfAnEarlierRunAreDropped) {
    Circuit& circuit = OpenWindow();
    SessionOf(circuit).RunNumber = 3;
    QCoreApplication::postEvent(&CanvasOf(circuit), new PrintEvent("old", 2));
    QCoreApplication::postEvent(&CanvasOf(circuit), new PrintEvent("new \xC3\xA9", 3));
    ASSERT_TRUE(WaitForLines(circuit, 1));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(PanelOf(circuit).toPlainText(), QString::fromUtf8("new \xC3\xA9"));
    const QSplitter& splitter = *WindowOf(circuit)->Splitter();
    EXPECT_EQ(splitter.sizes().value(1), 76);
    EXPECT_EQ(PanelOf(circuit).height(), 76);
    // A larger window gives the room to the canvas; the panel keeps its height.
    const int canvasHeight = CanvasOf(circuit).height();
    WindowOf(circuit)->resize(900, 700);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(PanelOf(circuit).height(), 76);
    EXPECT_EQ(CanvasOf(circuit).height(), canvasHeight + 100);
}

// Lines printed faster than the event loop turns travel together: each still shows, in
// printing order, and those of an earlier Start stay out even inside the same delivery.
TEST_F(WindowObserverTest, PrintedLinesArriveInOrderAndWithoutEarlierRuns) {
    Circuit& circuit = OpenWindow();
    SessionOf(circuit).RunNumber = 5;
    QStringList expected;
    auto printFromWorker = [&](int from, int to) {
        std::thread worker([&] {
            for (int i = from; i < to; ++i) {
                const bool current = i % 7 != 3;
                const QString line = i % 50 == 10 ? QString() : QStringLiteral("line %1").arg(i);
                ObserverOf(circuit).PrintLine(line, current ? 5 : 4);
                if (current) expected << line;
            }
        });
        worker.join();
    };
    printFromWorker(0, 2000);
    printFromWorker(2000, 2100); // joins the event still waiting
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(PanelOf(circuit).toPlainText(), expected.join('\n'));
    printFromWorker(2100, 2200); // after a delivery, a new event carries the lines
    ASSERT_TRUE(WaitForLines(circuit, int(expected.size())));
    EXPECT_EQ(PanelOf(circuit).toPlainText(), expected.join('\n'));
    EXPECT_EQ(WindowOf(circuit)->Splitter()->sizes().value(1), 76);
}

} // namespace
} // namespace flow::test
