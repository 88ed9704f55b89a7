#pragma once
// Helpers that build small circuits for the model tests.

#include "model/Catalogue.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace flow::test {

inline Node* Make(Circuit& c, const char* function, Implementation* impl = nullptr) {
    return AddNode(&c.MainFrame, FindFunction(function), impl);
}

inline Node* IntegerConstant(Circuit& c, Int value) {
    Node* n = Make(c, "Constant", Catalogue().ConstantInteger);
    n->PortArray[1]->Value = value;
    return n;
}

inline Node* RealConstant(Circuit& c) { return Make(c, "Constant", Catalogue().ConstantReal); }

inline bool Has(const std::vector<Port*>& list, const Port* p) {
    return std::find(list.begin(), list.end(), p) != list.end();
}

// The cross-references every edit must keep.
inline void ExpectConsistent(const Circuit& c) {
    for (const auto& w : c.MainFrame.Wires) {
        EXPECT_EQ(w->Frame, &c.MainFrame);
        const auto& sw = w->Source->Wires;
        const auto& dw = w->Destination->Wires;
        EXPECT_NE(std::find(sw.begin(), sw.end(), w.get()), sw.end());
        EXPECT_NE(std::find(dw.begin(), dw.end(), w.get()), dw.end());
        EXPECT_TRUE(Has(w->Source->Targets, w->Destination));
        EXPECT_TRUE(Has(w->Destination->Feeders, w->Source));
    }
    for (const auto& n : c.MainFrame.Nodes) {
        ASSERT_EQ(n->PortArray.size(), n->Ports.size() + 1);
        for (std::size_t i = 0; i < n->Ports.size(); ++i) {
            const Port* p = n->Ports[i].get();
            EXPECT_EQ(n->PortArray[i + 1], p);
            EXPECT_EQ(p->Node, n.get());
            if (p->Source) {
                EXPECT_TRUE(Has(p->Feeders, p->Source));
            }
            for (const Wire* w : p->Wires) {
                auto it = std::find_if(c.MainFrame.Wires.begin(), c.MainFrame.Wires.end(),
                                       [&](const auto& owned) { return owned.get() == w; });
                EXPECT_NE(it, c.MainFrame.Wires.end());
            }
        }
    }
}

} // namespace flow::test
