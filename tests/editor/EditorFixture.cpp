#include "EditorFixture.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/actions/ContextMenu.h"
#include "editor/window/EditorProcess.h"
#include "engine/BuiltInFunctions.h"
#include "engine/NodeThreads.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace flow::test {

void EditorFixture::SetUp() {
    RegisterCatalogue();
    SetupResources();
    EndProgram() = [this] { ++programEnds; };
    RealSaveQuestion();
    AskToSave() = [this](QWidget*, const QString&) {
        ++saveQuestions;
        return saveAnswer;
    };
}

const SaveQuestion& EditorFixture::RealSaveQuestion() {
    static const SaveQuestion real = AskToSave();
    return real;
}

void EditorFixture::TearDown() {
    for (const auto& circuit : Circuits())
        if (WindowOf(*circuit)) CloseCircuit(*circuit);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ChooseFileName() = FileNameChooser();
    // Answers no box took are not left for the next test.
    for (QTimer* answers : QCoreApplication::instance()->findChildren<QTimer*>(
             QStringLiteral("MessageBoxAnswers"), Qt::FindDirectChildrenOnly))
        delete answers;
    if (QMenu* menu = AddNodeMenu()) menu->hide();
}

Circuit& EditorFixture::OpenWindow(QSize size) {
    return OpenInWindow(NewCircuit(), size);
}

CircuitCanvas& EditorFixture::CanvasOf(const Circuit& circuit) {
    return *WindowOf(circuit)->Canvas();
}

QPlainTextEdit& EditorFixture::PanelOf(const Circuit& circuit) {
    return *WindowOf(circuit)->OutputPanel();
}

QPoint EditorFixture::PixelOf(const Circuit& circuit, double x, double y) {
    return {qRound((x - ViewOf(circuit)->CameraX) * ViewOf(circuit)->Magnification +
                   ViewOf(circuit)->CanvasWidth * 0.5),
            qRound((y - ViewOf(circuit)->CameraY) * ViewOf(circuit)->Magnification +
                   ViewOf(circuit)->CanvasHeight * 0.5)};
}

void EditorFixture::MoveTo(Circuit& circuit, double x, double y, Qt::MouseButtons held) {
    MoveToPixel(circuit, PixelOf(circuit, x, y), held);
}

void EditorFixture::MoveToPixel(Circuit& circuit, QPoint pixel, Qt::MouseButtons held) {
    // QTest's mouseMove carries no buttons; a drag needs the held buttons in the event.
    QWidget& canvas = CanvasOf(circuit);
    QMouseEvent move(QEvent::MouseMove, pixel, canvas.mapToGlobal(pixel), Qt::NoButton, held,
                     Qt::NoModifier);
    QApplication::sendEvent(&canvas, &move);
}

void EditorFixture::Press(Circuit& circuit, double x, double y, Qt::MouseButton button,
                          Qt::KeyboardModifiers modifiers) {
    QTest::mousePress(&CanvasOf(circuit), button, modifiers, PixelOf(circuit, x, y));
}

void EditorFixture::Release(Circuit& circuit, double x, double y, Qt::MouseButton button,
                            Qt::KeyboardModifiers modifiers) {
    QTest::mouseRelease(&CanvasOf(circuit), button, modifiers, PixelOf(circuit, x, y));
}

void EditorFixture::Click(Circuit& circuit, double x, double y, Qt::KeyboardModifiers modifiers) {
    MoveTo(circuit, x, y);
    Press(circuit, x, y, Qt::LeftButton, modifiers);
    Release(circuit, x, y, Qt::LeftButton, modifiers);
}

void EditorFixture::ClickAt(Circuit& circuit, QPointF point, Qt::KeyboardModifiers modifiers) {
    Click(circuit, point.x(), point.y(), modifiers);
}

void EditorFixture::DoubleClick(Circuit& circuit, double x, double y) {
    MoveTo(circuit, x, y);
    QTest::mouseDClick(&CanvasOf(circuit), Qt::LeftButton, Qt::NoModifier, PixelOf(circuit, x, y));
}

void EditorFixture::Drag(Circuit& circuit, double fromX, double fromY, double toX, double toY) {
    MoveTo(circuit, fromX, fromY);
    Press(circuit, fromX, fromY);
    const int steps = 5;
    for (int i = 1; i <= steps; ++i)
        MoveTo(circuit, fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps,
               Qt::LeftButton);
    Release(circuit, toX, toY);
}

void EditorFixture::Type(Circuit& circuit, const QString& text) {
    // One key event per character, carrying it as its text (QTest knows only ASCII keys).
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, length));
        QApplication::sendEvent(&CanvasOf(circuit), &press);
        i += length - 1;
    }
}

void EditorFixture::Key(Circuit& circuit, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    // Keys go to the window in front; its shortcuts (F5) only fire there.
    QApplication::setActiveWindow(WindowOf(circuit));
    QTest::keyClick(&CanvasOf(circuit), key, modifiers);
}

int EditorFixture::AddNodeCommand(const QString& label) {
    BuildAddNodeMenu();
    int found = 0;
    const auto search = [&](auto&& self, QMenu* in) -> void {
        for (QAction* action : in->actions()) {
            if (action->menu())
                self(self, action->menu());
            else if (!action->isSeparator() && action->text() == label)
                found = action->data().toInt();
        }
    };
    search(search, AddNodeMenu());
    return found;
}

Node& EditorFixture::Place(Circuit& circuit, const QString& item, double x, double y) {
    const int commandId = AddNodeCommand(item);
    EXPECT_NE(commandId, 0) << item.toStdString();
    return Place(circuit, commandId, x, y);
}

Node& EditorFixture::Place(Circuit& circuit, int commandId, double x, double y) {
    MoveTo(circuit, x, y);
    Press(circuit, x, y, Qt::RightButton);
    Release(circuit, x, y, Qt::RightButton);
    QMenu* menu = AddNodeMenu();
    QAction* chosen = nullptr;
    const auto search = [&](auto&& self, QMenu* in) -> void {
        for (QAction* action : in->actions()) {
            if (action->menu())
                self(self, action->menu());
            else if (action->data().toInt() == commandId && !action->isSeparator())
                chosen = action;
        }
    };
    search(search, menu);
    // Over an object the right button opens the object's own menu; the node is then chosen
    // from the add-node menu all the same, to be placed there.
    if (QMenu* objectMenu = OpenedContextMenu())
        objectMenu->close();
    else
        EXPECT_TRUE(menu->isVisible());
    EXPECT_NE(chosen, nullptr);
    chosen->trigger();
    menu->hide();
    MoveTo(circuit, x, y);
    Click(circuit, x, y);
    return *circuit.MainFrame.Nodes.back();
}

void EditorFixture::AnswerMessageBoxes(std::vector<int> buttons) {
    AnswerNextBoxes(int(buttons.size()), [buttons](QMessageBox& box, int next) {
        box.button(QMessageBox::StandardButton(buttons[std::size_t(next)]))->click();
    });
}

void EditorFixture::ClickInMessageBoxes(QStringList buttonTexts) {
    AnswerNextBoxes(int(buttonTexts.size()), [buttonTexts](QMessageBox& box, int next) {
        if (buttonTexts[next].isEmpty()) {
            QTest::keyClick(&box, Qt::Key_Return);
            return;
        }
        for (QAbstractButton* button : box.buttons())
            if (button->text().remove(QLatin1Char('&')) == buttonTexts[next]) {
                button->click();
                return;
            }
        ADD_FAILURE() << "no button " << buttonTexts[next].toStdString();
        box.reject();
    });
}

void EditorFixture::AnswerNextBoxes(int count, std::function<void(QMessageBox&, int)> answer) {
    // A box is modal: it runs its own event loop, in which the timer finds and answers it.
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setObjectName(QStringLiteral("MessageBoxAnswers"));
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [this, timer, count, answer, next = 0]() mutable {
                         auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                         if (!box || !box->isVisible()) return;
                         shownBoxes << box->text() + QLatin1Char('\n') + box->informativeText();
                         answer(*box, next);
                         if (++next == count) timer->deleteLater();
                     });
    timer->start();
}

bool EditorFixture::WaitForLines(const Circuit& circuit, int lines, int timeoutMs) {
    return QTest::qWaitFor(
        [&] {
            const QString text = PanelOf(circuit).toPlainText();
            return !text.isEmpty() && text.split(QLatin1Char('\n')).size() >= lines;
        },
        timeoutMs);
}

} // namespace flow::test
