#include "engine/LoopRun.h"

#include "engine/Execution.h"
#include "engine/InlineFirings.h"
#include "engine/NodeThread.h"
#include "engine/Routines.h"

namespace flow {

namespace {

// A pin hands its value into the body as a node's firing would.
Firing PinFiring(const Firing& loop, const LoopRun::Source& pin) {
    return {loop.Session, *pin.Pin, *pin.Run, loop.RunNumber, loop.Recorded};
}

// After an iteration: every Continue Pin received true.
bool GoesOn(const LoopRun& loop) {
    for (const PortRun* slot : loop.Continues)
        if (slot->Empty || slot->Value == 0) return false;
    return true;
}

// Hands the iteration's values to the pins and lets every node of the body fire once.
void BeginIteration(const Firing& firing, LoopRun& loop, const std::vector<Token>& inputs,
                    std::uint64_t number) {
    // An output pin that nothing reaches in this iteration leaves nothing, not the last one's.
    for (const LoopRun::Output& output : loop.Outputs)
        output.PinSlot->Empty = true;
    for (PortRun* slot : loop.Continues)
        slot->Empty = true;
    loop.Expect(loop.Started.size());
    loop.Iteration.store(number, std::memory_order_relaxed);
    for (std::size_t k = 0; k < loop.Inputs.size(); ++k)
        SendToken(PinFiring(firing, loop.Inputs[k].From), 1, inputs[k]);
    for (const LoopRun::Source& pin : loop.Iterations)
        SendToTargets(PinFiring(firing, pin), 1, Int(number), PortType::Integer);
    for (const auto& [node, run] : loop.Started) {
        ++run->Thread->Started;
        ReleaseFor(firing.Session, *node, *run, run->Start);
    }
}

void Iterate(const Firing& firing) {
    LoopRun& loop = *firing.Run.Loop;
    std::mutex& firingLock = firing.Session.FiringLock();
    std::vector<Token> inputs;
    Int times = 0;
    {
        std::lock_guard lock(firingLock);
        loop.Iterating = true;
        for (const LoopRun::Input& input : loop.Inputs)
            inputs.push_back(TokenIn(*firing.Run.Ports[input.InstancePort]));
        if (loop.TimesPort) times = firing.Run.Ports[loop.TimesPort]->Value;
    }
    std::uint64_t ran = 0;
    loop.Ran = 0;
    loop.RanIn = firing.RunNumber;
    for (bool more = loop.Conditional || times > 0; more;) {
        {
            HeldRings held; // the body's threads wake once the lock is free
            std::lock_guard lock(firingLock);
            // Where the whole body can, it fires here, and the wait below finds it done.
            InlineFirings body(firing.Session);
            BeginIteration(firing, loop, inputs, ran);
            body.Drain();
        }
        if (!loop.WaitForIteration()) {
            loop.Iterating = false;
            return; // stopped: nothing leaves the loop
        }
        std::lock_guard lock(firingLock);
        loop.Ran = ++ran;
        more = loop.Conditional ? GoesOn(loop) : ran < std::uint64_t(times);
        for (std::size_t k = 0; k < loop.Inputs.size(); ++k)
            if (const std::ptrdiff_t carrier = loop.Inputs[k].Carrier; carrier >= 0)
                inputs[k] = TokenIn(*loop.Outputs[std::size_t(carrier)].PinSlot);
    }
    // The last iteration's outputs; after none, a carried value leaves as it came in.
    HeldRings held;
    std::lock_guard lock(firingLock);
    InlineFirings successors(firing.Session);
    for (const LoopRun::Output& output : loop.Outputs) {
        const Token token = ran > 0               ? TokenIn(*output.PinSlot)
                            : output.Carried >= 0 ? inputs[std::size_t(output.Carried)]
                                                  : Token{};
        SendToken(firing, output.InstancePort, token);
    }
    successors.Drain();
    loop.Iterating = false;
}

const Routine kLoop{QStringLiteral("Thread_Loop()"), &Iterate, false, true};

} // namespace

const Routine& LoopRoutine() {
    return kLoop;
}

} // namespace flow
