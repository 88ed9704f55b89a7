#pragma once
// The view a window would give a circuit, with its undo stack, listed as a window lists its own:
// what the history's steps reach for a circuit. Unlisted when it goes.

#include "editor/canvas/OpenViews.h"
#include "editor/history/History.h"

#include <QObject>
#include <QUndoStack>

#include <memory>

namespace flow {

struct ViewWithHistory {
    explicit ViewWithHistory(Circuit& circuit) : view(circuit) {
        view.History = new QUndoStack(owner.get());
        view.History->setUndoLimit(kHistoryLimit);
        ListView(view);
    }
    ~ViewWithHistory() { UnlistView(view); }
    ViewWithHistory(const ViewWithHistory&) = delete;
    ViewWithHistory& operator=(const ViewWithHistory&) = delete;

    std::unique_ptr<QObject> owner = std::make_unique<QObject>();
    CircuitView view;
};

} // namespace flow
