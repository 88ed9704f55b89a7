#pragma once
// While a file is read, whether an instance would make a sub-circuit contain itself, answered
// for every instance of the file in about constant time where WouldRecurse (model/SubCircuits.h)
// walks everything below. The answer is the same: an instance is refused when its sub-circuit
// already holds, at some depth, the sub-circuit it would be placed in.

#include <unordered_map>
#include <vector>

namespace flow {

struct FunctionDef;

class NestingCheck {
  public:
    // Whether `outer`'s body may hold an instance of `inner`; when it may, the check notes that
    // it does.
    bool Admit(const FunctionDef* outer, const FunctionDef* inner);

  private:
    // Sub-circuits in an order where each comes before every one its body holds (at any depth),
    // kept as instances come; a new instance that agrees with it needs no search.
    std::unordered_map<const FunctionDef*, long> order_;
    std::unordered_map<const FunctionDef*, std::vector<const FunctionDef*>> holds_, heldBy_;
    long first_ = 0, last_ = 0;

    long Place(const FunctionDef* definition, bool atStart);
    // The sub-circuits reached from `start` along `edges` whose place lies within [low, high];
    // stops early, returning false, when it reaches `stop`.
    bool Reach(const FunctionDef* start,
               const std::unordered_map<const FunctionDef*, std::vector<const FunctionDef*>>& edges,
               long low, long high, const FunctionDef* stop,
               std::vector<const FunctionDef*>& reached);
};

} // namespace flow
