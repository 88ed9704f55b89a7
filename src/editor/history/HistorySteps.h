#pragma once
// The steps of a circuit's history. Each finds its objects by ID, never by address: undo and
// redo take objects out and make them anew.

#include "editor/history/GroupSnapshot.h"
#include "model/ResolvedTypes.h"

#include <QUndoCommand>

namespace flow {

// Objects removed and objects added in one step, with the resolved types of every node the step
// changed, before and after.
class GroupStep : public QUndoCommand {
  public:
    // The edit has been made already; the first redo finds it done.
    GroupStep(Circuit& circuit, const QString& name, std::unique_ptr<GroupSnapshot> removed,
              std::unique_ptr<GroupSnapshot> added, TypesById before, TypesById after);
    void undo() override;
    void redo() override;

  private:
    void Apply(const GroupSnapshot& out, const GroupSnapshot& in, const TypesById& types);

    Circuit& circuit_;
    std::unique_ptr<GroupSnapshot> removed_, added_;
    TypesById before_, after_;
    bool made_ = true;
};

class MoveStep : public QUndoCommand {
  public:
    MoveStep(Circuit& circuit, std::vector<Int> ids, Int dx, Int dy);
    void undo() override { MoveBy(-dx_, -dy_); }
    void redo() override { MoveBy(dx_, dy_); }

  private:
    void MoveBy(Int dx, Int dy);

    Circuit& circuit_;
    std::vector<Int> ids_; // nodes and comments
    Int dx_, dy_;
};

// A constant's value: Value and Text of its first port.
class ValueStep : public QUndoCommand {
  public:
    struct Value {
        Int Number = 0;
        QString Text;
    };
    ValueStep(Circuit& circuit, const QString& name, Int nodeId, Value before, Value after);
    void undo() override { Set(before_); }
    void redo() override { Set(after_); }

  private:
    void Set(const Value& value);

    Circuit& circuit_;
    Int nodeId_;
    Value before_, after_;
};

class CommentTextStep : public QUndoCommand {
  public:
    CommentTextStep(Circuit& circuit, Int commentId, QString before, QString after);
    void undo() override { Set(before_); }
    void redo() override { Set(after_); }

  private:
    void Set(const QString& text);

    Circuit& circuit_;
    Int commentId_;
    QString before_, after_;
};

} // namespace flow
