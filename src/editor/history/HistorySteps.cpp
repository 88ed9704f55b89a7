#include "editor/history/HistorySteps.h"

#include "editor/canvas/OpenViews.h"
#include "model/Coordinates.h"
#include "model/Expansion.h"
#include "model/ObjectsById.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"

#include <QHash>

namespace flow {

namespace {

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

HistoryStep::HistoryStep(Circuit& circuit, const QString& name)
    : HistoryStep(circuit, name, ShownFrame(circuit)) {}

HistoryStep::HistoryStep(Circuit& circuit, const QString& name, const Frame& frame)
    : QUndoCommand(name), circuit_(circuit), frame_(NameOfFrame(frame)) {}

Frame* HistoryStep::EditedFrame() const {
    return FrameNamed(circuit_, frame_);
}

void HistoryStep::Settle() const {
    FollowDefinitions(circuit_);
}

GroupStep::GroupStep(Circuit& circuit, const QString& name, std::unique_ptr<GroupSnapshot> removed,
                     std::unique_ptr<GroupSnapshot> added, TypesById before, TypesById after)
    : GroupStep(circuit, name, ShownFrame(circuit), std::move(removed), std::move(added),
                std::move(before), std::move(after)) {}

GroupStep::GroupStep(Circuit& circuit, const QString& name, const Frame& frame,
                     std::unique_ptr<GroupSnapshot> removed, std::unique_ptr<GroupSnapshot> added,
                     TypesById before, TypesById after)
    : HistoryStep(circuit, name, frame), removed_(std::move(removed)), added_(std::move(added)),
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
    Frame* edited = EditedFrame();
    if (!edited) return;
    Frame& frame = *edited;
    // Nodes the step did not change must keep what they have now, whatever taking the objects
    // out and back makes resolution choose on the way.
    const TypesById current = CaptureTypes(frame);
    out.Remove(frame);
    in.Restore(frame);
    RestoreTypes(frame, types, current);
    Settle();
}

MoveStep::MoveStep(Circuit& circuit, const QString& name, std::vector<Shift> shifts, bool mergeable)
    : HistoryStep(circuit, name), shifts_(std::move(shifts)), mergeable_(mergeable) {}

std::size_t MoveStep::Bytes() const {
    return sizeof(*this) + shifts_.capacity() * sizeof(Shift);
}

void MoveStep::Release() {
    std::vector<Shift>().swap(shifts_);
}

bool MoveStep::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const MoveStep*>(other);
    if (!next || !next->mergeable_ || &next->circuit_ != &circuit_ ||
        next->shifts_.size() != shifts_.size())
        return false;
    for (std::size_t i = 0; i < shifts_.size(); ++i)
        if (next->shifts_[i].Id != shifts_[i].Id) return false;
    for (std::size_t i = 0; i < shifts_.size(); ++i) {
        shifts_[i].DX = SaturatedSum(shifts_[i].DX, next->shifts_[i].DX);
        shifts_[i].DY = SaturatedSum(shifts_[i].DY, next->shifts_[i].DY);
    }
    return true;
}

void MoveStep::MoveBy(Int sign) {
    Frame* frame = EditedFrame();
    if (!frame) return;
    const QHash<Int, Node*> nodes = ObjectsById(frame->Nodes);
    const QHash<Int, Comment*> comments = ObjectsById(frame->Comments);
    for (const Shift& shift : shifts_) {
        ObjectHeader* object = nodes.value(shift.Id);
        if (!object) object = comments.value(shift.Id);
        if (object)
            MoveObject(*object, SaturatedSum(object->X, sign * shift.DX),
                       SaturatedSum(object->Y, sign * shift.DY));
    }
    Settle();
}

ValueStep::ValueStep(Circuit& circuit, const QString& name, Int nodeId, Value before, Value after)
    : ValueStep(circuit, name, ShownFrame(circuit),
                {{nodeId, std::move(before), std::move(after)}}) {}

ValueStep::ValueStep(Circuit& circuit, const QString& name, const Frame& frame,
                     std::vector<Change> changes)
    : HistoryStep(circuit, name, frame), changes_(std::move(changes)) {}

std::size_t ValueStep::Bytes() const {
    std::size_t bytes = sizeof(*this) + changes_.capacity() * sizeof(Change);
    for (const Change& change : changes_)
        bytes += std::size_t(change.Before.Text.capacity() + change.After.Text.capacity()) * 2;
    return bytes;
}

void ValueStep::Release() {
    changes_ = {};
}

void ValueStep::Set(Value Change::*side) {
    if (Frame* frame = EditedFrame()) {
        const QHash<Int, Node*> nodes = ObjectsById(frame->Nodes);
        for (const Change& change : changes_)
            if (Node* node = nodes.value(change.NodeId))
                SetConstantValue(*node, (change.*side).Number, (change.*side).Text);
    }
    Settle();
}

CommentTextStep::CommentTextStep(Circuit& circuit, Int commentId, QString before, QString after)
    : HistoryStep(circuit, QStringLiteral("Edit Comment")), commentId_(commentId),
      before_(std::move(before)), after_(std::move(after)) {}

std::size_t CommentTextStep::Bytes() const {
    return sizeof(*this) + std::size_t(before_.capacity() + after_.capacity()) * 2;
}

void CommentTextStep::Release() {
    before_ = after_ = QString();
}

void CommentTextStep::Set(const QString& text) {
    if (Frame* frame = EditedFrame())
        if (Comment* comment = ObjectsById(frame->Comments).value(commentId_))
            SetCommentText(*comment, text);
}

} // namespace flow
