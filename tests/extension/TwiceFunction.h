#pragma once
// Twice: one integer in, twice it out. A function the built-ins lack, with its routine.

#include "engine/Execution.h"
#include "engine/Routines.h"
#include "model/Catalogue.h"

namespace flow::test {

inline void DoubleInteger(const Firing& firing) {
    // Through unsigned numbers, which wrap, as the built-in integer arithmetic does.
    const auto twice = std::uint64_t(firing.Run.Ports[1]->Value) * 2;
    SendToTargets(firing, 2, Int(twice), PortType::Integer);
}

inline const Routine kTwiceII{QStringLiteral("Thread_Twice_II()"), &DoubleInteger};

inline FunctionEntry TwiceEntry() {
    constexpr int I = PortType::Integer;
    return {.Name = "Twice",
            .Shape = "M 0,0 l 32,0 l 0,16 l -32,0 z",
            .Symbol = "$2x,10,16,8",
            .Width = 32,
            .Height = 16,
            .Ports = {{Direction::In, "x", 3, 8}, {Direction::Out, "2x", 29, 8}},
            .Implementations = {{&kTwiceII, {I, I}}},
            // In the Numeric submenu's arithmetic, after Divide.
            .MenuItems = {{"Twice (2x)", "Numeric", 1, 4, -1, {}}},
            .Description = "Twice an integer"};
}

} // namespace flow::test
