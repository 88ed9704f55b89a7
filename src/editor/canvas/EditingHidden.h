#pragma once
// While one lives, drawing the circuit shows the circuit alone, as --render draws a file: no
// hover highlight, selection, rubber band, wire being drawn, node being placed, run-state
// marker, value labels or never-fired outlines, and an edited text as its object holds it. Everything comes back when it ends.

#include "model/Records.h"

#include <QHash>

#include <memory>

namespace flow {

struct EditorState;

class EditingHidden {
  public:
    explicit EditingHidden(Circuit& circuit);
    ~EditingHidden();
    EditingHidden(const EditingHidden&) = delete;
    EditingHidden& operator=(const EditingHidden&) = delete;

  private:
    Circuit& circuit_;
    std::unique_ptr<EditorState> editor_;
    QHash<int*, int> flags_; // the flags of every object, as they were
    FunctionDef* pending_;
    bool values_;
};

} // namespace flow
