#pragma once
// Real circuit windows on the offscreen platform, driven through Qt's input events.

#include "support/ExampleWindow.h"
#include "support/PortPoints.h"

#include "editor/actions/FileCommands.h"
#include "editor/actions/MenuCommands.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/StatusText.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTest>

#include <gtest/gtest.h>

namespace flow::test {

class EditorFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A new circuit in a window of this inner size, shown and in front.
    Circuit& OpenWindow(QSize size = {800, 600});
    static CircuitCanvas& CanvasOf(const Circuit& circuit);
    static QPlainTextEdit& PanelOf(const Circuit& circuit);
    // The canvas pixel showing a circuit point.
    static QPoint PixelOf(const Circuit& circuit, double x, double y);

    // Input as a user gives it, at circuit points.
    void MoveTo(Circuit& circuit, double x, double y, Qt::MouseButtons held = Qt::NoButton);
    void MoveToPixel(Circuit& circuit, QPoint pixel, Qt::MouseButtons held = Qt::NoButton);
    void Press(Circuit& circuit, double x, double y, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Release(Circuit& circuit, double x, double y, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Click(Circuit& circuit, double x, double y,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void ClickAt(Circuit& circuit, QPointF point, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void DoubleClick(Circuit& circuit, double x, double y);
    void Drag(Circuit& circuit, double fromX, double fromY, double toX, double toY);
    void Type(Circuit& circuit, const QString& text);
    void Key(Circuit& circuit, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Places a node from the add-node menu at a circuit point, as a right click and a menu
    // choice followed by a left click would; the item is given by its command id or its label.
    Node& Place(Circuit& circuit, int commandId, double x, double y);
    Node& Place(Circuit& circuit, const QString& item, double x, double y);
    // The command id of the add-node menu's item with this label; 0 if there is none.
    static int AddNodeCommand(const QString& label);

    // Answers the message boxes that come up next, in order, by clicking these buttons; the
    // texts they showed (text, a line break, informative text) are collected in `shownBoxes`.
    void AnswerMessageBoxes(std::vector<int> buttons);
    // The same by the buttons' texts, without their &-marks; an empty text presses Enter, which
    // takes the default.
    void ClickInMessageBoxes(QStringList buttonTexts);
    QStringList shownBoxes;

    // Waits until the output panel shows this many lines; false on time-out.
    static bool WaitForLines(const Circuit& circuit, int lines, int timeoutMs = 5000);

    // The message box that asks before unsaved work is closed; the fixture answers it instead,
    // with `saveAnswer`, counting the questions.
    static const SaveQuestion& RealSaveQuestion();

  private:
    // Answers the next `count` message boxes with `answer(box, index)`.
    void AnswerNextBoxes(int count, std::function<void(QMessageBox&, int)> answer);

  protected:
    int programEnds = 0;
    int saveQuestions = 0;
    SaveAnswer saveAnswer = SaveAnswer::Discard;
};

} // namespace flow::test
