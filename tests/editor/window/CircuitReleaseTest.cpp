// A long session: every closed window gives its circuit back.

#include "EditorFixture.h"

#include "editor/window/StatusText.h"
#include "editor/window/WindowObserver.h"
#include "engine/Preparation.h"

#include <malloc.h>

namespace flow::test {
namespace {

class CircuitReleaseTest : public EditorFixture {
  protected:
    // Loads an example, runs it in its window and closes the window again.
    void OpenRunAndClose() {
        Circuit* circuit = OpenExampleWindow(QStringLiteral("sum.xml"));
        ASSERT_NE(circuit, nullptr);
        ASSERT_TRUE(PrepareCircuit(SessionOf(*circuit)))
            << SessionOf(*circuit).Fault().Message.toStdString();
        OnMenu(*circuit, Command::Close);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
};

std::size_t HeapInUse() {
    // Zero under AddressSanitizer, which keeps its own books; the circuit count still tells.
    return mallinfo2().uordblks;
}

TEST_F(CircuitReleaseTest, ThousandOpenAndCloseCyclesLeaveMemoryFlat) {
    OpenWindow(); // keeps the program from ending
    const std::size_t circuits = Circuits().size();
    for (int i = 0; i < 50; ++i)
        OpenRunAndClose();
    EXPECT_EQ(Circuits().size(), circuits);
    const std::size_t before = HeapInUse();
    for (int i = 0; i < 1000; ++i)
        OpenRunAndClose();
    EXPECT_EQ(Circuits().size(), circuits);
    // Each cycle kept its circuit before, 5.4 MB in all here; about 50 kB of noise is left.
    EXPECT_LT(double(HeapInUse()) - double(before), 1.0e6);
}

TEST_F(CircuitReleaseTest, EditorLetsGoOfAFreedCircuit) {
    Circuit& kept = OpenWindow();
    Circuit& closed = OpenWindow();
    const std::size_t circuits = Circuits().size();
    MoveTo(closed, 10, 10);
    ASSERT_NE(ViewOf(closed), nullptr);
    OnMenu(closed, Command::Close);
    EXPECT_EQ(ViewOf(closed), nullptr); // the view went with the window
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    ASSERT_EQ(Circuits().size(), circuits - 1);
    EXPECT_EQ(Circuits().back().get(), &kept);
    MoveTo(kept, 20, 20); // the window still open follows the mouse
    EXPECT_EQ(StatusText(kept, StatusField::Position), "20, 20");
}

} // namespace
} // namespace flow::test
