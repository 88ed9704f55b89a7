#pragma once
// An edit made of several, in one frame or in several, recorded as one step of the circuit's
// history: each part is kept as it is made, and the whole goes on the history at Commit. Without
// a history the parts are simply made.

#include "editor/history/HistorySteps.h"

#include <functional>
#include <memory>
#include <vector>

namespace flow {

class CompoundEdit {
  public:
    CompoundEdit(Circuit& circuit, QString name);
    CompoundEdit(const CompoundEdit&) = delete;
    CompoundEdit& operator=(const CompoundEdit&) = delete;

    // Makes an edit of the frame as RecordGroupEdit does, then lets instances follow the bodies
    // it changed. Returns what `edit` added.
    FrameObjects Edit(Frame& frame, const FrameObjects& removing,
                      const std::function<FrameObjects()>& edit);
    // A sub-circuit just made, its body complete.
    void Added(const FunctionDef& definition);
    // Takes the sub-circuit, which no instance uses any more, out of the circuit.
    void Remove(FunctionDef& definition);
    // Puts the parts on the history as one step; an edit without parts records nothing.
    void Commit();

  private:
    void Keep(std::unique_ptr<HistoryStep> step);

    Circuit& circuit_;
    QString name_;
    bool recording_;
    std::vector<std::unique_ptr<HistoryStep>> steps_;
};

} // namespace flow
