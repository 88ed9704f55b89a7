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
    using QUndoCommand::QUndoCommand;
    // The memory the step keeps to undo and redo, roughly.
    virtual std::size_t Bytes() const = 0;
    // Lets go of what the step keeps and makes it obsolete: the history then drops it, without
    // undoing it, when it is reached. Only for the oldest steps, below every step still kept:
    // undoing the kept ones then leaves the circuit as those steps found it.
    void Forget() {
        Release();
        setObsolete(true);
    }

  private:
    virtual void Release() = 0;
};

// Objects removed and objects added in one step, with the resolved types of every node the step
// changed, before and after.
class GroupStep : public HistoryStep {
  public:
    // The edit has been made already; the first redo finds it done.
    GroupStep(Circuit& circuit, const QString& name, std::unique_ptr<GroupSnapshot> removed,
              std::unique_ptr<GroupSnapshot> added, TypesById before, TypesById after);
    void undo() override;
    void redo() override;
    std::size_t Bytes() const override;

  private:
    void Release() override;
    void Apply(const GroupSnapshot& out, const GroupSnapshot& in, const TypesById& types);

    Circuit& circuit_;
    std::unique_ptr<GroupSnapshot> removed_, added_;
    TypesById before_, after_;
    bool made_ = true;
    std::size_t bytes_;
};

class MoveStep : public HistoryStep {
  public:
    MoveStep(Circuit& circuit, std::vector<Int> ids, Int dx, Int dy);
    void undo() override { MoveBy(-dx_, -dy_); }
    void redo() override { MoveBy(dx_, dy_); }
    std::size_t Bytes() const override;

  private:
    void Release() override;
    void MoveBy(Int dx, Int dy);

    Circuit& circuit_;
    std::vector<Int> ids_; // nodes and comments
    Int dx_, dy_;
};

// A constant's value: Value and Text of its first port.
class ValueStep : public HistoryStep {
  public:
    struct Value {
        Int Number = 0;
        QString Text;
    };
    ValueStep(Circuit& circuit, const QString& name, Int nodeId, Value before, Value after);
    void undo() override { Set(before_); }
    void redo() override { Set(after_); }
    std::size_t Bytes() const override;

  private:
    void Release() override;
    void Set(const Value& value);

    Circuit& circuit_;
    Int nodeId_;
    Value before_, after_;
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

    Circuit& circuit_;
    Int commentId_;
    QString before_, after_;
};

} // namespace flow
