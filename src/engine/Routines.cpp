#include "engine/Routines.h"

namespace flow {

// Placeholder computations until the node routines land.
namespace {
void NoCompute(Node&) {}
} // namespace

namespace routines {
#define FLOW_ROUTINE(name) const Routine name{QStringLiteral("Thread_" #name "()"), &NoCompute};
FLOW_ROUTINE(Constant_B)
FLOW_ROUTINE(Constant_I)
FLOW_ROUTINE(Constant_R)
FLOW_ROUTINE(Constant_S)
FLOW_ROUTINE(Print_B)
FLOW_ROUTINE(Print_I)
FLOW_ROUTINE(Print_R)
FLOW_ROUTINE(Print_S)
FLOW_ROUTINE(And_BBB)
FLOW_ROUTINE(And_III)
FLOW_ROUTINE(Or_BBB)
FLOW_ROUTINE(Or_III)
FLOW_ROUTINE(Not_BB)
FLOW_ROUTINE(Not_II)
FLOW_ROUTINE(Plus_III)
FLOW_ROUTINE(Plus_RRR)
FLOW_ROUTINE(Plus_SSS)
FLOW_ROUTINE(Subtract_III)
FLOW_ROUTINE(Subtract_RRR)
FLOW_ROUTINE(Times_III)
FLOW_ROUTINE(Times_RRR)
FLOW_ROUTINE(Divide_III)
FLOW_ROUTINE(Divide_RRR)
FLOW_ROUTINE(ToString_IS)
FLOW_ROUTINE(ToInteger_RI)
FLOW_ROUTINE(ToReal_IR)
#undef FLOW_ROUTINE
} // namespace routines

const std::array<const Routine*, 26>& RoutineTable() {
    using namespace routines;
    static const std::array<const Routine*, 26> table = {
        &Print_B,     &Print_I,      &Print_R,    &Print_S,      &Plus_SSS,   &Subtract_RRR,
        &Plus_RRR,    &Divide_RRR,   &Or_III,     &And_BBB,      &ToReal_IR,  &Times_III,
        &Not_BB,      &ToString_IS,  &Or_BBB,     &Subtract_III, &Plus_III,   &ToInteger_RI,
        &Divide_III,  &Constant_B,   &Constant_I, &Constant_R,   &Constant_S, &Not_II,
        &Times_RRR,   &And_III};
    return table;
}

} // namespace flow
