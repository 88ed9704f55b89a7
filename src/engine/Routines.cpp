#include "engine/Routines.h"

#include "engine/CodePointOrder.h"
#include "engine/Execution.h"
#include "engine/NumberText.h"
#include "engine/RandomDraws.h"
#include "engine/RunObserver.h"
#include "model/Expansion.h"

#include <bit>
#include <cmath>
#include <compare>
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

// The shapes of computation; a constant sends the value its output port stores.
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

// Both inputs of type In; the result is of the same type unless Out says otherwise.
template <typename In, auto F, typename Out = In> void Binary(const Firing& firing) {
    Out::Send(firing, 3, F(In::Read(InputSlot(firing, 1)), In::Read(InputSlot(firing, 2))));
}

// Fires, as every node does, once all three inputs are there, though it passes on only one.
template <typename T> void Select(const Firing& firing) {
    const bool condition = BooleanValue::Read(InputSlot(firing, 1));
    T::Send(firing, 4, T::Read(InputSlot(firing, condition ? 2 : 3)));
}

// A fresh number at every firing: the draw depends on the iteration, inside a loop.
template <typename T, auto FromBits> void Random(const Firing& firing) {
    T::Send(firing, 1, FromBits(RandomBitsFor(firing)));
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

// The remainder that goes with Divide's quotient, so that x = quotient * y + remainder holds in
// wrapping arithmetic: by 0 (quotient 0) it is x, and minimum by -1 (quotient minimum) it is 0.
Int TruncatedRemainder(Int x, Int y) {
    if (y == 0) return x;
    if (y == -1) return 0;
    return x % y;
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

double RealRemainder(double x, double y) {
    return std::fmod(x, y);
}

QString Concatenation(const QString& x, const QString& y) {
    return x + y;
}

// How two values of one type compare: numbers by value, where NaN is unordered with everything;
// strings by code point.
std::partial_ordering Order(const QString& x, const QString& y) {
    return CompareCodePoints(x, y);
}
template <typename V> std::partial_ordering Order(const V& x, const V& y) {
    return x <=> y;
}

// What each comparison asks of the order; every one but "differs" is false for NaN.
bool Same(std::partial_ordering order) {
    return order == 0;
}
bool Differs(std::partial_ordering order) {
    return order != 0;
}
bool Before(std::partial_ordering order) {
    return order < 0;
}
bool NotAfter(std::partial_ordering order) {
    return order <= 0;
}
bool After(std::partial_ordering order) {
    return order > 0;
}
bool NotBefore(std::partial_ordering order) {
    return order >= 0;
}

template <typename V, bool (*Holds)(std::partial_ordering)> bool Compared(const V& x, const V& y) {
    return Holds(Order(x, y));
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
// An input sends the value it holds, as a constant does: what came from outside is stored there.
FLOW_ROUTINE(Input_B, Constant<BooleanValue>)
FLOW_ROUTINE(Input_I, Constant<IntegerValue>)
FLOW_ROUTINE(Input_R, Constant<RealValue>)
FLOW_ROUTINE(Input_S, Constant<StringValue>)
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
// The text Print writes for the value.
FLOW_ROUTINE(ToString_IS, (Unary<IntegerValue, StringValue, IntegerValue::Show>))
FLOW_ROUTINE(ToInteger_RI, (Unary<RealValue, IntegerValue, TruncatedToInteger>))
FLOW_ROUTINE(ToReal_IR, (Unary<IntegerValue, RealValue, NearestReal>))
FLOW_ROUTINE(ToString_RS, (Unary<RealValue, StringValue, RealValue::Show>))
FLOW_ROUTINE(ToString_BS, (Unary<BooleanValue, StringValue, BooleanValue::Show>))
FLOW_ROUTINE(Equal_IIB, (Binary<IntegerValue, Compared<Int, Same>, BooleanValue>))
FLOW_ROUTINE(Equal_RRB, (Binary<RealValue, Compared<double, Same>, BooleanValue>))
FLOW_ROUTINE(Equal_SSB, (Binary<StringValue, Compared<QString, Same>, BooleanValue>))
FLOW_ROUTINE(Equal_BBB, (Binary<BooleanValue, Compared<bool, Same>>))
FLOW_ROUTINE(NotEqual_IIB, (Binary<IntegerValue, Compared<Int, Differs>, BooleanValue>))
FLOW_ROUTINE(NotEqual_RRB, (Binary<RealValue, Compared<double, Differs>, BooleanValue>))
FLOW_ROUTINE(NotEqual_SSB, (Binary<StringValue, Compared<QString, Differs>, BooleanValue>))
FLOW_ROUTINE(NotEqual_BBB, (Binary<BooleanValue, Compared<bool, Differs>>))
FLOW_ROUTINE(Less_IIB, (Binary<IntegerValue, Compared<Int, Before>, BooleanValue>))
FLOW_ROUTINE(Less_RRB, (Binary<RealValue, Compared<double, Before>, BooleanValue>))
FLOW_ROUTINE(Less_SSB, (Binary<StringValue, Compared<QString, Before>, BooleanValue>))
FLOW_ROUTINE(LessOrEqual_IIB, (Binary<IntegerValue, Compared<Int, NotAfter>, BooleanValue>))
FLOW_ROUTINE(LessOrEqual_RRB, (Binary<RealValue, Compared<double, NotAfter>, BooleanValue>))
FLOW_ROUTINE(LessOrEqual_SSB, (Binary<StringValue, Compared<QString, NotAfter>, BooleanValue>))
FLOW_ROUTINE(Greater_IIB, (Binary<IntegerValue, Compared<Int, After>, BooleanValue>))
FLOW_ROUTINE(Greater_RRB, (Binary<RealValue, Compared<double, After>, BooleanValue>))
FLOW_ROUTINE(Greater_SSB, (Binary<StringValue, Compared<QString, After>, BooleanValue>))
FLOW_ROUTINE(GreaterOrEqual_IIB, (Binary<IntegerValue, Compared<Int, NotBefore>, BooleanValue>))
FLOW_ROUTINE(GreaterOrEqual_RRB, (Binary<RealValue, Compared<double, NotBefore>, BooleanValue>))
FLOW_ROUTINE(GreaterOrEqual_SSB, (Binary<StringValue, Compared<QString, NotBefore>, BooleanValue>))
FLOW_ROUTINE(Remainder_III, (Binary<IntegerValue, TruncatedRemainder>))
FLOW_ROUTINE(Remainder_RRR, (Binary<RealValue, RealRemainder>))
FLOW_ROUTINE(Select_BBBB, Select<BooleanValue>)
FLOW_ROUTINE(Select_BIII, Select<IntegerValue>)
FLOW_ROUTINE(Select_BRRR, Select<RealValue>)
FLOW_ROUTINE(Select_BSSS, Select<StringValue>)
FLOW_ROUTINE(Switch_BBBB, Switch)
FLOW_ROUTINE(Switch_BIII, Switch)
FLOW_ROUTINE(Switch_BRRR, Switch)
FLOW_ROUTINE(Switch_BSSS, Switch)
FLOW_ROUTINE(Random_R, (Random<RealValue, UniformReal>))
FLOW_ROUTINE(Random_I, (Random<IntegerValue, UniformInteger>))
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
