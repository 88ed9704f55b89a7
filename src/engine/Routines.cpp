#include "engine/Routines.h"

#include "engine/Execution.h"
#include "engine/NumberText.h"
#include "engine/RunObserver.h"
#include "model/Expansion.h"

#include <bit>
#include <cmath>
#include <limits>

namespace flow {

namespace {

// How each value type sits in a value slot (or a constant's port) and how Print writes it.
// Integer arithmetic goes through unsigned numbers, which wrap by definition.
struct BooleanValue {
    template <typename Slot> static bool Read(const Slot& slot) { return slot.Value != 0; }
    static void Send(const Firing& firing, std::size_t port, bool value) {
        SendToTargets(firing, port, Int(value), PortType::Boolean);
    }
    static QString Show(bool value) {
        return value ? QStringLiteral("True") : QStringLiteral("False");
    }
};

struct IntegerValue {
    template <typename Slot> static Int Read(const Slot& slot) { return slot.Value; }
    static void Send(const Firing& firing, std::size_t port, Int value) {
        SendToTargets(firing, port, value, PortType::Integer);
    }
    static QString Show(Int value) { return FormatInteger(value); }
};

struct RealValue {
    template <typename Slot> static double Read(const Slot& slot) {
        return std::bit_cast<double>(slot.Value);
    }
    static void Send(const Firing& firing, std::size_t port, double value) {
        SendToTargets(firing, port, std::bit_cast<Int>(value), PortType::Real);
    }
    static QString Show(double value) { return FormatReal(value, 6, QStringLiteral("e")); }
};

struct StringValue {
    template <typename Slot> static const QString& Read(const Slot& slot) { return slot.Text; }
    static void Send(const Firing& firing, std::size_t port, const QString& value) {
        SendToTargets(firing, port, value);
    }
    static QString Show(const QString& value) { return value; }
};

// An input's value slot. Every port of a firing node has one: preparation made them.
const PortRun& InputSlot(const Firing& firing, std::size_t port) {
    return *firing.Run.Ports[port];
}

// The four shapes of computation; a constant sends the value its output port stores.
template <typename T> void Constant(const Firing& firing) {
    T::Send(firing, 1, T::Read(*firing.Node.PortArray[1]));
}

template <typename T> void Print(const Firing& firing) {
    const QString line = T::Show(T::Read(InputSlot(firing, 1)));
    // A line printed inside a sub-circuit is traced to the instance the main frame shows.
    if (RunObserver* observer = firing.Session.Observer())
        observer->PrintLineFrom(OutermostNode(&firing.Node)->Id, line, firing.RunNumber);
}

template <typename In, typename Out, auto F> void Unary(const Firing& firing) {
    Out::Send(firing, 2, F(In::Read(InputSlot(firing, 1))));
}

template <typename T, auto F> void Binary(const Firing& firing) {
    T::Send(firing, 3, F(T::Read(InputSlot(firing, 1)), T::Read(InputSlot(firing, 2))));
}

using Unsigned = std::uint64_t;

bool BothTrue(bool x, bool y) {
    return x && y;
}
bool EitherTrue(bool x, bool y) {
    return x || y;
}
bool Negated(bool x) {
    return !x;
}

Int BitwiseAnd(Int x, Int y) {
    return x & y;
}
Int BitwiseOr(Int x, Int y) {
    return x | y;
}
Int Complement(Int x) {
    return ~x;
}
Int WrappingSum(Int x, Int y) {
    return Int(Unsigned(x) + Unsigned(y));
}
Int WrappingDifference(Int x, Int y) {
    return Int(Unsigned(x) - Unsigned(y));
}
Int WrappingProduct(Int x, Int y) {
    return Int(Unsigned(x) * Unsigned(y));
}

// Dividing by zero gives 0; the one quotient beyond the range, minimum / -1, wraps to minimum.
Int TruncatedQuotient(Int x, Int y) {
    if (y == 0) return 0;
    if (y == -1) return Int(Unsigned(0) - Unsigned(x));
    return x / y;
}

// Adding +0.0 turns a negative zero into a positive one.
double RealSum(double x, double y) {
    return (x + y) + 0.0;
}
double RealDifference(double x, double y) {
    return (x - y) + 0.0;
}
double RealProduct(double x, double y) {
    return x * y;
}
double RealQuotient(double x, double y) {
    return x / y;
}

QString Concatenation(const QString& x, const QString& y) {
    return x + y;
}

Int TruncatedToInteger(double d) {
    if (std::isinf(d) || std::bit_cast<Unsigned>(d) == ~Unsigned(0)) return 0;
    constexpr double limit = 9223372036854775808.0; // 2^63, exact as a double
    constexpr Int outOfRange = std::numeric_limits<Int>::min();
    if (std::isnan(d) || d >= limit || d < -limit) return outOfRange;
    return Int(d);
}

double NearestReal(Int x) {
    return double(x);
}

// Switch and Merge pass a value on untouched, whatever its type: one routine serves every
// implementation.
void Switch(const Firing& firing) {
    const bool toTrue = InputSlot(firing, 1).Value != 0;
    SendToken(firing, toTrue ? 3 : 4, TokenIn(InputSlot(firing, 2)));
    SendNothing(firing, toTrue ? 4 : 3);
}

void Merge(const Firing& firing) {
    const PortRun& a = InputSlot(firing, 1);
    SendToken(firing, 3, TokenIn(a.Empty ? InputSlot(firing, 2) : a));
}

} // namespace

namespace routines {
#define FLOW_ROUTINE(name, compute)                                                                \
    const Routine name{QStringLiteral("Thread_" #name "()"), &compute};
FLOW_ROUTINE(Constant_B, Constant<BooleanValue>)
FLOW_ROUTINE(Constant_I, Constant<IntegerValue>)
FLOW_ROUTINE(Constant_R, Constant<RealValue>)
FLOW_ROUTINE(Constant_S, Constant<StringValue>)
FLOW_ROUTINE(Print_B, Print<BooleanValue>)
FLOW_ROUTINE(Print_I, Print<IntegerValue>)
FLOW_ROUTINE(Print_R, Print<RealValue>)
FLOW_ROUTINE(Print_S, Print<StringValue>)
FLOW_ROUTINE(And_BBB, (Binary<BooleanValue, BothTrue>))
FLOW_ROUTINE(And_III, (Binary<IntegerValue, BitwiseAnd>))
FLOW_ROUTINE(Or_BBB, (Binary<BooleanValue, EitherTrue>))
FLOW_ROUTINE(Or_III, (Binary<IntegerValue, BitwiseOr>))
FLOW_ROUTINE(Not_BB, (Unary<BooleanValue, BooleanValue, Negated>))
FLOW_ROUTINE(Not_II, (Unary<IntegerValue, IntegerValue, Complement>))
FLOW_ROUTINE(Plus_III, (Binary<IntegerValue, WrappingSum>))
FLOW_ROUTINE(Plus_RRR, (Binary<RealValue, RealSum>))
FLOW_ROUTINE(Plus_SSS, (Binary<StringValue, Concatenation>))
FLOW_ROUTINE(Subtract_III, (Binary<IntegerValue, WrappingDifference>))
FLOW_ROUTINE(Subtract_RRR, (Binary<RealValue, RealDifference>))
FLOW_ROUTINE(Times_III, (Binary<IntegerValue, WrappingProduct>))
FLOW_ROUTINE(Times_RRR, (Binary<RealValue, RealProduct>))
FLOW_ROUTINE(Divide_III, (Binary<IntegerValue, TruncatedQuotient>))
FLOW_ROUTINE(Divide_RRR, (Binary<RealValue, RealQuotient>))
FLOW_ROUTINE(ToString_IS, (Unary<IntegerValue, StringValue, FormatInteger>))
FLOW_ROUTINE(ToInteger_RI, (Unary<RealValue, IntegerValue, TruncatedToInteger>))
FLOW_ROUTINE(ToReal_IR, (Unary<IntegerValue, RealValue, NearestReal>))
FLOW_ROUTINE(Switch_BBBB, Switch)
FLOW_ROUTINE(Switch_BIII, Switch)
FLOW_ROUTINE(Switch_BRRR, Switch)
FLOW_ROUTINE(Switch_BSSS, Switch)
#define FLOW_ROUTINE_TAKING_NOTHING(name, compute)                                                 \
    const Routine name{QStringLiteral("Thread_" #name "()"), &compute, true};
FLOW_ROUTINE_TAKING_NOTHING(Merge_BBB, Merge)
FLOW_ROUTINE_TAKING_NOTHING(Merge_III, Merge)
FLOW_ROUTINE_TAKING_NOTHING(Merge_RRR, Merge)
FLOW_ROUTINE_TAKING_NOTHING(Merge_SSS, Merge)
#undef FLOW_ROUTINE_TAKING_NOTHING
#undef FLOW_ROUTINE
} // namespace routines

} // namespace flow
