// Moves find their objects by ID, also after a delete and its undo made them anew; a run of
// nudges of the same objects is one step, of other objects another; and what each step tells of
// its memory grows with what it keeps, so that the history's budget can bound it.

#include "EditorFixture.h"
#include "editor/history/History.h"
#include "support/SubCircuitBuilding.h"

#include <QUndoStack>

namespace flow::test {
namespace {

using HistoryStepsTest = EditorFixture;

QPoint At(const ObjectHeader& object) {
    return {int(object.X), int(object.Y)};
}

TEST_F(HistoryStepsTest, NudgesOfTheSameObjectsMergeAndMovesFindObjectsMadeAnew) {
    Circuit& circuit = OpenWindow();
    Frame& main = circuit.MainFrame;
    Node* a = test::Place(main, "Print", 0, 0);
    Node* b = test::Place(main, "Print", 100, 0);
    Comment* note = AddComment(&main, "note", 0, 100);
    const FrameObjects all{{note}, {a, b}, {}};
    QUndoStack& history = *HistoryOf(circuit);

    for (int i = 0; i < 3; ++i)
        NudgeObjects(circuit, FrameObjects{{}, {a}, {}}, 10, -5);
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(At(*a), QPoint(30, -15));
    NudgeObjects(circuit, FrameObjects{{}, {b}, {}}, 10, 0); // another object: a step of its own
    EXPECT_EQ(history.count(), 2);
    NudgeObjects(circuit, all, 0, 1);
    NudgeObjects(circuit, all, 0, 1);
    EXPECT_EQ(history.count(), 3);
    EXPECT_EQ(At(*note), QPoint(0, 102));
    MoveObjects(circuit, all, 0, 50); // a drag is no nudge, and no nudge joins it
    NudgeObjects(circuit, all, 0, 1);
    EXPECT_EQ(history.count(), 5);
    history.undo();
    history.undo();
    history.undo();
    EXPECT_EQ(At(*a), QPoint(30, -15));
    EXPECT_EQ(At(*b), QPoint(110, 0));
    EXPECT_EQ(At(*note), QPoint(0, 100));
    history.undo();
    history.undo();
    EXPECT_EQ(At(*a), QPoint(0, 0));
    EXPECT_EQ(At(*b), QPoint(100, 0));

    // Deleted and brought back, the node is a new record with its old ID, which the move finds.
    MoveObjects(circuit, FrameObjects{{}, {b}, {}}, 40, 0);
    DeleteObjects(circuit, QStringLiteral("Delete"), FrameObjects{{}, {b}, {}});
    history.undo();
    history.undo();
    ASSERT_EQ(main.Nodes.size(), 2u);
    EXPECT_EQ(At(*main.Nodes[1]), QPoint(100, 0));
    history.redo();
    EXPECT_EQ(At(*main.Nodes[1]), QPoint(140, 0));
}

TEST_F(HistoryStepsTest, WhatAStepTellsOfItsMemoryGrowsWithWhatItKeeps) {
    Circuit& circuit = OpenWindow();
    Frame& main = circuit.MainFrame;
    const QUndoStack& history = *HistoryOf(circuit);
    const auto bytesOf = [&](const std::function<void()>& record) {
        const std::size_t before = HistoryBytes(history);
        record();
        return HistoryBytes(history) - before;
    };
    const auto nodes = [&](std::size_t from, std::size_t count) {
        FrameObjects objects;
        for (std::size_t i = from; i < from + count; ++i)
            objects.Nodes.push_back(main.Nodes[i].get());
        return objects;
    };
    // 300 to delete, 50 to move.
    for (int i = 0; i < 350; ++i)
        test::Place(main, "Print", 0, 60 * i);

    // A group kept whole: twice the nodes, about twice the memory.
    const std::size_t hundred =
        bytesOf([&] { DeleteObjects(circuit, QStringLiteral("Delete"), nodes(0, 100)); });
    const std::size_t twoHundred =
        bytesOf([&] { DeleteObjects(circuit, QStringLiteral("Delete"), nodes(0, 200)); });
    EXPECT_GT(double(twoHundred), 1.7 * double(hundred));
    EXPECT_LT(double(twoHundred), 2.3 * double(hundred));

    // A comment's text, kept by the step that deletes it and by one that edits it.
    const QString longText(10000, QLatin1Char('w'));
    Comment* small = AddComment(&main, "a", 0, 0);
    Comment* large = AddComment(&main, longText, 0, 0);
    const std::size_t smallGone = bytesOf([&] {
        DeleteObjects(circuit, QStringLiteral("Delete"), {{small}, {}, {}});
    });
    const std::size_t largeGone = bytesOf([&] {
        DeleteObjects(circuit, QStringLiteral("Delete"), {{large}, {}, {}});
    });
    // The text in UTF-16, and its copy in the file's UTF-8.
    EXPECT_GE(largeGone, smallGone + (sizeof(QChar) + 1) * 9999);
    Comment* edited = AddComment(&main, "a", 0, 0);
    const std::size_t shortEdit = bytesOf([&] { ChangeCommentText(*edited, "b"); });
    const std::size_t longEdit = bytesOf([&] { ChangeCommentText(*edited, longText); });
    EXPECT_GE(longEdit, shortEdit + sizeof(QChar) * 9999);

    // A constant's text, and a move of many objects.
    Node* constant = AddNode(&main, Catalogue().Constant, Catalogue().ConstantString);
    const std::size_t shortValue =
        bytesOf([&] { ChangeConstantValue(*constant, QStringLiteral("Edit Value"), 0, "b"); });
    const std::size_t longValue =
        bytesOf([&] { ChangeConstantValue(*constant, QStringLiteral("Edit Value"), 0, longText); });
    EXPECT_GE(longValue, shortValue + sizeof(QChar) * 9999);
    const std::size_t oneMoved = bytesOf([&] { MoveObjects(circuit, nodes(0, 1), 5, 5); });
    const std::size_t manyMoved = bytesOf([&] { MoveObjects(circuit, nodes(0, 50), 5, 5); });
    EXPECT_GE(manyMoved, oneMoved + 49 * 3 * sizeof(Int));
}

} // namespace
} // namespace flow::test
