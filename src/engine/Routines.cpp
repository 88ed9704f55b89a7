#include "engine/Routines.h"

#include "engine/Execution.h"
#include "engine/Expansion.h"
#include "engine/NumberText.h"
#include "engine/RunObserver.h"
#include "model/Model.h"

#include <bit>
#include <cmath>
#include <limits>

namespace flow {

namespace {

// How each value type sits in a port's slots and how Print writes it. Integer arithmetic goes
// through unsigned numbers, which wrap by definition.
struct BooleanValue {
    static bool Read(const Port& port) { return port.Value != 0; }
    static void Send(Port* port, bool value, std::uint64_t run) {
        SendToTargets(port, Int(value), PortType::Boolean, run);
    }
    static QString Show(bool value) {
        return value ? QStringLiteral("True") : QStringLiteral("False");
    }
};

struct IntegerValue {
    static Int Read(const Port& port) { return port.Value; }
    static void Send(Port* port, Int value, std::uint64_t run) {
        SendToTargets(port, value, PortType::Integer, run);
    }
    static QString Show(Int value) { return FormatInteger(value); }
};

struct RealValue {
    static double Read(const Port& port) { return std::bit_cast<double>(port.Value); }
    static void Send(Port* port, double value, std::uint64_t run) {
        SendToTargets(port, std::bit_cast<Int>(value), PortType::Real, run);
    }
    static QString Show(double value) { return FormatReal(value, 6, QStringLiteral("e")); }
};

struct StringValue {
    static const QString& Read(const Port& port) { return port.Text; }
    static void Send(Port* port, const QString& value, std::uint64_t run) {
        SendToTargets(port, value, run);
    }
    static QString Show(const QString& value) { return value; }
};

// The four shapes of computation; a constant's value is the slot of its own output port.
template <typename T> void Constant(Node& node, std::uint64_t runNumber) {
    Port* output = node.PortArray[1];
    T::Send(output, T::Read(*output), runNumber);
}

template <typename T> void Print(Node& node, std::uint64_t runNumber) {
    const QString line = T::Show(T::Read(*node.PortArray[1]));
    // A line printed inside a sub-circuit is traced to the instance the main frame shows.
    if (RunObserver* observer = OwnerCircuit(node)->Observer)
        observer->PrintLineFrom(OutermostNode(&node)->Id, line, runNumber);
}

template <typename In, typename Out, auto F> void Unary(Node& node, std::uint64_t runNumber) {
    Out::Send(node.PortArray[2], F(In::Read(*node.PortArray[1])), runNumber);
}

template <typename T, auto F> void Binary(Node& node, std::uint64_t runNumber) {
    T::Send(node.PortArray[3], F(T::Read(*node.PortArray[1]), T::Read(*node.PortArray[2])),
            runNumber);
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
#undef FLOW_ROUTINE
} // namespace routines

} // namespace flow
