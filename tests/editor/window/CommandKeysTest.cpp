// A menu command's keys: the common key first, the platform's others after it once each, and no
// key that only other keyboards have.

#include "editor/window/CommandKeys.h"

#include <gtest/gtest.h>

namespace flow {
namespace {

TEST(CommandKeysTest, TheCommonKeyLeadsAndKeysPastF12AreLeftOut) {
    const QKeySequence undo(Qt::CTRL | Qt::Key_Z);
    // X11's bindings for Undo and Paste, with the Sun keyboard's keys among them.
    EXPECT_EQ(CommandKeys(undo, {QKeySequence(Qt::Key_F14), undo,
                                 QKeySequence(Qt::ALT | Qt::Key_Backspace)}),
              QList<QKeySequence>({undo, QKeySequence(Qt::ALT | Qt::Key_Backspace)}));
    const QKeySequence paste(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(CommandKeys(paste, {paste, QKeySequence(Qt::SHIFT | Qt::Key_Insert),
                                  QKeySequence(Qt::Key_F18), QKeySequence(Qt::Key_F12)}),
              QList<QKeySequence>(
                  {paste, QKeySequence(Qt::SHIFT | Qt::Key_Insert), QKeySequence(Qt::Key_F12)}));
    EXPECT_EQ(CommandKeys(paste, {}), QList<QKeySequence>({paste}));
}

} // namespace
} // namespace flow
