#pragma once
// A group of comments, nodes and wires kept so that it can be taken out of its circuit and put
// back exactly: the objects in the circuit file's own format, together with what the file does
// not hold (IDs, places in every list, which feeder each input reads, exact constant values).

#include "file/CircuitFragment.h"
#include "file/XmlTree.h"
#include "model/Records.h"

#include <memory>
#include <string>

namespace flow {

// What the allocator adds to every block it hands out, in the history's memory accounting: a
// 64-bit allocator keeps a size word before each block and rounds blocks up to 16 bytes, so a
// block costs about 16 bytes more than was asked for.
inline constexpr std::size_t kBlockOverhead = 16;

// A port named by what survives its node being taken out and put back.
struct PortKey {
    Int NodeId = 0;
    Int Index = 0; // 1-based; 0 names no port
};

// The window stops showing the inside of the instance, and of what lies inside it, before the
// instance goes: an undo may take out an instance the user has opened.
void LeaveInstance(const Node& node);

class GroupSnapshot {
  public:
    // Keeps the objects as they are now; a node brings every wire attached to it.
    GroupSnapshot(const Frame& frame, const FrameObjects& objects);
    bool Empty() const { return nodes_.empty() && comments_.empty() && wires_.empty(); }
    // The memory the snapshot keeps, roughly.
    std::size_t Bytes() const { return bytes_; }
    // Takes the objects out through the model's operations.
    void Remove(Frame& frame) const;
    // Puts them back with their IDs, at their places in every list.
    void Restore(Frame& frame) const;

  private:
    struct NodeEntry {
        std::size_t Position;
        Int Id;
        Int Value;    // a constant's exact value: the file keeps reals to 6 digits only
        QString Text; // and text only as far as UTF-8 can carry it
        int Flags;
    };
    struct CommentEntry {
        std::size_t Position;
        Int Id;
        QString Text;
        int Flags;
    };
    struct WireEntry {
        PortKey Source, Destination;
        std::size_t Position;
        std::size_t ListPositions[4]; // by WireList
        int Flags;
    };
    struct SourceEntry {
        PortKey Port, Source;
    };

    // The comments, then the nodes, as the file writes them: a text is a fraction of the tree.
    std::string elements_;
    std::size_t bytes_ = 0;
    std::vector<NodeEntry> nodes_;       // by ascending Position
    std::vector<CommentEntry> comments_; // by ascending Position
    std::vector<WireEntry> wires_;       // by ascending Position
    std::vector<SourceEntry> sources_;   // of every port a wire of the group ends at
};

} // namespace flow
