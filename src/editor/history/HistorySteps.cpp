#include "editor/history/HistorySteps.h"

#include "model/Coordinates.h"
#include "model/ObjectsById.h"
#include "model/Placement.h"

#include <QHash>

namespace flow {

namespace {

// What the allocator adds to every block it hands out.
constexpr std::size_t kBlockOverhead = 16;

std::size_t BytesOf(const TypesById& types) {
    // A node of the hash per entry (the pair and its link), the bucket array, and each entry's
    // list of port types.
    std::size_t bytes = types.bucket_count() * sizeof(void*);
    for (const auto& entry : types)
        bytes += sizeof(entry) + sizeof(void*) + 2 * kBlockOverhead +
                 entry.second.PortTypes.capacity() * sizeof(int);
    return bytes;
}

} // namespace

GroupStep::GroupStep(Circuit& circuit, const QString& name, std::unique_ptr<GroupSnapshot> removed,
                     std::unique_ptr<GroupSnapshot> added, TypesById before, TypesById after)
    : HistoryStep(name), circuit_(circuit), removed_(std::move(removed)), added_(std::move(added)),
      before_(std::move(before)), after_(std::move(after)),
      bytes_(sizeof(*this) + removed_->Bytes() + added_->Bytes() + BytesOf(before_) +
             BytesOf(after_)) {}

void GroupStep::undo() {
    if (removed_) Apply(*added_, *removed_, before_);
}

void GroupStep::redo() {
    if (std::exchange(made_, false) || !removed_) return;
    Apply(*removed_, *added_, after_);
}


std::size_t GroupStep::Bytes() const {
    return bytes_;
}

void GroupStep::Release() {
    bytes_ = sizeof(*this);
    removed_.reset();
    added_.reset();
    TypesById().swap(before_);
    TypesById().swap(after_);
}

void GroupStep::Apply(const GroupSnapshot& out, const GroupSnapshot& in, const TypesById& types) {
    Frame& frame = circuit_.MainFrame;
    // Nodes the step did not change must keep what they have now, whatever taking the objects
    // out and back makes resolution choose on the way.
    const TypesById current = CaptureTypes(frame);
    out.Remove(frame);
    in.Restore(frame);
    RestoreTypes(frame, types, current);
}

MoveStep::MoveStep(Circuit& circuit, std::vector<Int> ids, Int dx, Int dy)
    : HistoryStep(QStringLiteral("Move")), circuit_(circuit), ids_(std::move(ids)), dx_(dx),
      dy_(dy) {}

std::size_t MoveStep::Bytes() const {
    return sizeof(*this) + ids_.capacity() * sizeof(Int);
}

void MoveStep::Release() {
    std::vector<Int>().swap(ids_);
}

void MoveStep::MoveBy(Int dx, Int dy) {
    const QHash<Int, Node*> nodes = ObjectsById(circuit_.MainFrame.Nodes);
    const QHash<Int, Comment*> comments = ObjectsById(circuit_.MainFrame.Comments);
    for (Int id : ids_) {
        ObjectHeader* object = nodes.value(id);
        if (!object) object = comments.value(id);
        if (object) MoveObject(*object, SaturatedSum(object->X, dx), SaturatedSum(object->Y, dy));
    }
}

ValueStep::ValueStep(Circuit& circuit, const QString& name, Int nodeId, Value before, Value after)
    : HistoryStep(name), circuit_(circuit), nodeId_(nodeId), before_(std::move(before)),
      after_(std::move(after)) {}

std::size_t ValueStep::Bytes() const {
    return sizeof(*this) + std::size_t(before_.Text.capacity() + after_.Text.capacity()) * 2;
}

void ValueStep::Release() {
    before_ = after_ = Value{};
}

void ValueStep::Set(const Value& value) {
    if (Node* node = ObjectsById(circuit_.MainFrame.Nodes).value(nodeId_))
        SetConstantValue(*node, value.Number, value.Text);
}

CommentTextStep::CommentTextStep(Circuit& circuit, Int commentId, QString before, QString after)
    : HistoryStep(QStringLiteral("Edit Comment")), circuit_(circuit), commentId_(commentId),
      before_(std::move(before)), after_(std::move(after)) {}

std::size_t CommentTextStep::Bytes() const {
    return sizeof(*this) + std::size_t(before_.capacity() + after_.capacity()) * 2;
}

void CommentTextStep::Release() {
    before_ = after_ = QString();
}

void CommentTextStep::Set(const QString& text) {
    if (Comment* comment = ObjectsById(circuit_.MainFrame.Comments).value(commentId_))
        SetCommentText(*comment, text);
}

} // namespace flow
