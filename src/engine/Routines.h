#pragma once
// The node routines: what a node computes each time it fires. Every routine runs inside the
// same firing loop; only its computation differs.

#include "model/Records.h"

#include <cstdint>

namespace flow {

struct Firing; // engine/Execution.h: the node that fires, in which session and run

struct Routine {
    QString Name; // "Thread_" + function + "_" + one type letter per port + "()"
    // One firing's work: read the inputs from the node's value slots, compute, and deliver the
    // result to the output's targets or print it (a printed line carries the run's number).
    // Runs on the node's thread with the session's FiringLock held.
    void (*Compute)(const Firing& firing);
    // Merge fires on what arrives whether or not it is nothing; every other routine is skipped
    // when an input carried nothing.
    bool TakesNothing = false;
    // A loop runs its iterations itself: it is called without the FiringLock, and takes it as
    // it needs it, as the body's nodes need it between.
    bool Unlocked = false;
};

namespace routines {
extern const Routine Constant_B, Constant_I, Constant_R, Constant_S;
extern const Routine Input_B, Input_I, Input_R, Input_S;
extern const Routine Print_B, Print_I, Print_R, Print_S;
extern const Routine And_BBB, And_III, Or_BBB, Or_III, Not_BB, Not_II;
extern const Routine Plus_III, Plus_RRR, Plus_SSS, Subtract_III, Subtract_RRR;
extern const Routine Times_III, Times_RRR, Divide_III, Divide_RRR;
extern const Routine ToString_IS, ToInteger_RI, ToReal_IR;
extern const Routine ToString_RS, ToString_BS;
extern const Routine Equal_IIB, Equal_RRB, Equal_SSB, Equal_BBB;
extern const Routine NotEqual_IIB, NotEqual_RRB, NotEqual_SSB, NotEqual_BBB;
extern const Routine Less_IIB, Less_RRB, Less_SSB, LessOrEqual_IIB, LessOrEqual_RRB,
    LessOrEqual_SSB;
extern const Routine Greater_IIB, Greater_RRB, Greater_SSB, GreaterOrEqual_IIB, GreaterOrEqual_RRB,
    GreaterOrEqual_SSB;
extern const Routine Remainder_III, Remainder_RRR;
extern const Routine Select_BBBB, Select_BIII, Select_BRRR, Select_BSSS;
extern const Routine Switch_BBBB, Switch_BIII, Switch_BRRR, Switch_BSSS;
extern const Routine Merge_BBB, Merge_III, Merge_RRR, Merge_SSS;
extern const Routine Random_R, Random_I;
} // namespace routines

} // namespace flow
