#include "model/Records.h"

namespace flow {

Frame::~Frame() {
    // Every nested expansion is moved out before the frame that held it goes, so each frame
    // is freed holding none and the teardown never recurses.
    std::vector<std::unique_ptr<Frame>> nested;
    const auto takeExpansions = [&](Frame& frame) {
        for (const auto& node : frame.Nodes)
            if (node->Expansion) nested.push_back(std::move(node->Expansion));
    };
    takeExpansions(*this);
    while (!nested.empty()) {
        std::unique_ptr<Frame> frame = std::move(nested.back());
        nested.pop_back();
        takeExpansions(*frame);
    }
}

} // namespace flow
