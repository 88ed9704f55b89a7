#include "file/NestingCheck.h"

#include <algorithm>
#include <unordered_set>

namespace flow {

long NestingCheck::Place(const FunctionDef* definition, bool atStart) {
    const auto found = order_.find(definition);
    if (found != order_.end()) return found->second;
    // A sub-circuit met for the first time holds nothing and is held by nothing yet: it may
    // stand at either end, whichever keeps the new instance in order.
    long place = 0;
    if (order_.empty())
        first_ = last_ = 0;
    else
        place = atStart ? --first_ : ++last_;
    order_.emplace(definition, place);
    return place;
}

bool NestingCheck::Reach(
    const FunctionDef* start,
    const std::unordered_map<const FunctionDef*, std::vector<const FunctionDef*>>& edges,
    long low, long high, const FunctionDef* stop, std::vector<const FunctionDef*>& reached) {
    std::unordered_set<const FunctionDef*> seen{start};
    std::vector<const FunctionDef*> pending{start};
    while (!pending.empty()) {
        const FunctionDef* next = pending.back();
        pending.pop_back();
        if (next == stop) return false;
        reached.push_back(next);
        const auto out = edges.find(next);
        if (out == edges.end()) continue;
        for (const FunctionDef* other : out->second) {
            const long place = order_.at(other);
            if (place >= low && place <= high && seen.insert(other).second)
                pending.push_back(other);
        }
    }
    return true;
}

bool NestingCheck::Admit(const FunctionDef* outer, const FunctionDef* inner) {
    if (!outer || !inner) return true;
    if (outer == inner) return false;
    const long outerPlace = Place(outer, true);
    const long innerPlace = Place(inner, false);
    if (outerPlace >= innerPlace) {
        // Out of order: inner may already hold outer. Search what inner holds that stands no
        // later than outer; meeting outer means a circle.
        std::vector<const FunctionDef*> forward, backward;
        if (!Reach(inner, holds_, innerPlace, outerPlace, outer, forward)) return false;
        Reach(outer, heldBy_, innerPlace, outerPlace, nullptr, backward);
        // Whatever holds outer moves before whatever inner holds, keeping the places they had.
        std::vector<long> places;
        for (const auto* definition : backward)
            places.push_back(order_.at(definition));
        for (const auto* definition : forward)
            places.push_back(order_.at(definition));
        std::sort(places.begin(), places.end());
        const auto byPlace = [&](const FunctionDef* a, const FunctionDef* b) {
            return order_.at(a) < order_.at(b);
        };
        std::sort(backward.begin(), backward.end(), byPlace);
        std::sort(forward.begin(), forward.end(), byPlace);
        std::size_t next = 0;
        for (const auto* definition : backward)
            order_[definition] = places[next++];
        for (const auto* definition : forward)
            order_[definition] = places[next++];
    }
    holds_[outer].push_back(inner);
    heldBy_[inner].push_back(outer);
    return true;
}

} // namespace flow
