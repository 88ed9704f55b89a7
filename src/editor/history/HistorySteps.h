#pragma once
// The steps of a circuit's history. Each finds its objects by ID, never by address: undo and
// redo take objects out and make them anew.

#include "editor/history/GroupSnapshot.h"
#include "model/ResolvedTypes.h"

#include <QUndoCommand>

namespace flow {

// What every step tells the history about itself, for its memory budget.
class HistoryStep : public QUndoCommand {
  public:
    // The step edits the frame the circuit's window shows while it is made.
    HistoryStep(Circuit& circuit, const QString& name);
    // The step edits this frame, shown or not: edits that span frames.
    HistoryStep(Circuit& circuit, const QString& name, const Frame& frame);
    // The memory the step keeps to undo and redo, roughly.
    virtual std::size_t Bytes() const = 0;
    // Lets go of what the step keeps and makes it obsolete: the history then drops it, without
    // undoing it, when it is reached. Only for the oldest steps, below every step still kept:
    // undoing the kept ones then leaves the circuit as those steps found it.
    void Forget() {
        Release();
        setObsolete(true);
    }

  protected:
    // The frame the step edits, found by its name: a sub-circuit deleted and made again by
    // later steps' undo is a new record. None when it is gone.
    Frame* EditedFrame() const;
    // After every undo and redo: instances follow the bodies the step changed.
    void Settle() const;
    Circuit& circuit_;

  private:
    virtual void Release() = 0;
    QString frame_;
};

// Objects removed and objects added in one step, with the resolved types of every node the step
// changed, before and after.
class GroupStep : public HistoryStep {
  public:
    // The edit has been made already; the first redo finds it done.
    GroupStep(Circuit& circuit, const QString& name, std::unique_ptr<GroupSnapshot> removed,
              std::unique_ptr<GroupSnapshot> added, TypesById before, TypesById after);
    GroupStep(Circuit& circuit, const QString& name, const Frame& frame,
              std::unique_ptr<GroupSnapshot> removed, std::unique_ptr<GroupSnapshot> added,
              TypesById before, TypesById after);
    void undo() override;
    void redo() override;
    std::size_t Bytes() const override;

  private:
    void Release() override;
    void Apply(const GroupSnapshot& out, const GroupSnapshot& in, const TypesById& types);

    std::unique_ptr<GroupSnapshot> removed_, added_;
    TypesById before_, after_;
    bool made_ = true;
    std::size_t bytes_;
};

// Nodes and comments moved, each by an offset of its own (aligning gives each its own).
class MoveStep : public HistoryStep {
  public:
    struct Shift {
        Int Id; // of a node or comment
        Int DX, DY;
    };
    // A mergeable step takes in the next mergeable step that moves the same objects, so that a
    // run of arrow-key nudges is undone at once.
    MoveStep(Circuit& circuit, const QString& name, std::vector<Shift> shifts, bool mergeable);
    void undo() override { MoveBy(-1); }
    void redo() override { MoveBy(1); }
    int id() const override { return mergeable_ ? kMergeableMoveId : -1; }
    bool mergeWith(const QUndoCommand* other) override;
    std::size_t Bytes() const override;

  private:
    static constexpr int kMergeableMoveId = 0x4D4F5645;
    void Release() override;
    void MoveBy(Int sign);

    std::vector<Shift> shifts_;
    bool mergeable_;
};

// The values of constants or inputs: Value and Text of each one's first port.
class ValueStep : public HistoryStep {
  public:
    struct Value {
        Int Number = 0;
        QString Text;
    };
    struct Change {
        Int NodeId;
        Value Before, After;
    };
    ValueStep(Circuit& circuit, const QString& name, Int nodeId, Value before, Value after);
    // Changes of nodes of the frame, shown or not.
    ValueStep(Circuit& circuit, const QString& name, const Frame& frame,
              std::vector<Change> changes);
    void undo() override { Set(&Change::Before); }
    void redo() override { Set(&Change::After); }
    std::size_t Bytes() const override;

  private:
    void Release() override;
    void Set(Value Change::*side);

    std::vector<Change> changes_;
};

class CommentTextStep : public HistoryStep {
  public:
    CommentTextStep(Circuit& circuit, Int commentId, QString before, QString after);
    void undo() override { Set(before_); }
    void redo() override { Set(after_); }
    std::size_t Bytes() const override;

  private:
    void Release() override;
    void Set(const QString& text);

    Int commentId_;
    QString before_, after_;
};

} // namespace flow
