#include "engine/BuiltInFunctions.h"

#include "engine/Routines.h"
#include "model/Inputs.h"

namespace flow {

namespace {

using PortEntry = FunctionEntry::PortEntry;
constexpr int B = PortType::Boolean, I = PortType::Integer, R = PortType::Real,
              S = PortType::String;

PortEntry In(const QString& label, Int x, Int y) {
    return {Direction::In, label, x, y};
}
PortEntry Out(const QString& label, Int x, Int y) {
    return {Direction::Out, label, x, y};
}

const QString kPrintShape = "M 0 8 c 0 -5 3 -8 8 -8 l 24 0 c 5 0 8 3 8 8 l 0 24 c 0 5 -3 8 -8 8 "
                            "l -24 0 c -5 0 -8 -3 -8 -8 z";
const QString kArithmeticShape =
    "M 0 4 c 0 -4 2 -6 6 -4 l 24 12 c 4 2 4 6 0 8 l -24 12 c -4 2 -6 0 -6 -4 z";
// Switch and Merge route values rather than compute them: a square with rounded corners.
const QString kChoiceShape = "M 0,4 c 0,-3 1,-4 4,-4 l 24,0 c 3,0 4,1 4,4 l 0,24 c 0,3 -1,4 -4,4 "
                             "l -24,0 c -3,0 -4,-1 -4,-4 z";
const QString kConversionShape = "M 0,0 l 40,0 c 11,0 11,16 0,16 l -40,0 c 6,-3 6,-13 0,-16 z";

// Where the add-node menu offers the function, and the node it makes: by default one whose
// types are left to its wires.
AddNodeItem Item(const QString& label, const QString& group, int section, int rank,
                 int implementation = -1, std::optional<Int> value = {}) {
    return {label, group, section, rank, implementation, value};
}

// Plus, Subtract, Times and Divide share their body and port positions, as the conversions
// share theirs.
std::vector<PortEntry> ArithmeticPorts(const QString& outLabel) {
    return {In("x", 3, 8), In("y", 3, 24), Out(outLabel, 29, 16)};
}
std::vector<PortEntry> ConversionPorts(const QString& outLabel) {
    return {In("x", 8, 8), Out(outLabel, 45, 8)};
}

// A comparison looks like arithmetic with its sign, gives a truth value and sits in the Compare
// submenu. Its routines come in the order Integer, Real, String and, for equality, Boolean.
FunctionEntry Comparison(const QString& name, const QString& sign,
                         const std::vector<const Routine*>& routines, int section, int rank,
                         const QString& description) {
    const std::vector<int> inputTypes = {I, R, S, B};
    std::vector<FunctionEntry::ImplementationEntry> implementations;
    for (std::size_t k = 0; k < routines.size(); ++k)
        implementations.push_back({routines[k], {inputTypes[k], inputTypes[k], B}});
    return {.Name = name,
            .Shape = kArithmeticShape,
            .Symbol = "$" + sign + ",20,15,15",
            .Width = 32,
            .Height = 32,
            .Ports = ArithmeticPorts("x " + sign + " y"),
            .Implementations = implementations,
            .MenuItems = {Item(name + " (" + sign + ")", "Compare", section, rank)},
            .Description = description};
}

std::vector<FunctionEntry> MakeTable() {
    using namespace routines;
    return {
        {.Name = "Constant",
         // Drawn as a box sized from its value, not from paths.
         .Shape = "",
         .Symbol = "",
         .Width = 0,
         .Height = 0,
         .Ports = {Out("Constant", 0, 0)},
         .Implementations =
             {{&Constant_B, {B}}, {&Constant_I, {I}}, {&Constant_R, {R}}, {&Constant_S, {S}}},
         .MenuItems = {Item("Constant (False)", "Logic", 0, 0, 0, 0),
                       Item("Constant (True)", "Logic", 0, 1, 0, 1),
                       Item("Constant (Integer)", "Numeric", 0, 0, 1),
                       Item("Constant (Real)", "Numeric", 0, 1, 2),
                       Item("Constant", "Strings", 0, 0, 3)},
         .Description = "Sends the value typed into it, once per run"},
        {.Name = "Print",
         .Shape = kPrintShape,
         .Symbol = "M 20,26 l 0,2 l 6,0 l 0,-2 z m -8,-6 l 3,3 l -3,3 l 1.5,1.5 l 4.5,-4.5 "
                   "l -4.5,-4.5 z M 8,8 l 24,0 l 0,24 l -24,0 z M 10,16 l 20,0 l 0,14 l -20,0 z",
         .Width = 40,
         .Height = 40,
         .Ports = {In("Value to print", 3, 20)},
         .Implementations = {{&Print_B, {B}}, {&Print_I, {I}}, {&Print_R, {R}}, {&Print_S, {S}}},
         .MenuItems = {Item("PrintN", "", 0, 0, 0)},
         .Description = "Prints the value it receives as one line of the output, a Real to 6 "
                        "significant digits; nothing prints no line"},
        {.Name = "And",
         .Shape = "M 0,0 l 20,0 c 16,0 16,24 0,24 l -20,0 z",
         .Symbol = "M 10,15 l 6,-8 l 6,8 l -2,1.5 l -4,-5.5 l -4,5.5 Z",
         .Width = 32,
         .Height = 24,
         .Ports = {In("A", 3, 5), In("B", 3, 19), Out("A and B", 29, 12)},
         .Implementations = {{&And_BBB, {B, B, B}}, {&And_III, {I, I, I}}},
         .MenuItems = {Item(QStringLiteral("And (\u2227)"), "Logic", 1, 1)},
         .Description =
             "True when A and B are both true; for Integers the bitwise and (12 and 10 is 8)"},
        {.Name = "Or",
         .Shape = "M -1,0 l 14,0 c 15,0 20,12 20,12 c 0,0 -5,12 -20,12 l -14,0 "
                  "c 8,-6 8,-18 0,-24 z",
         .Symbol = "M 12,9 l 6,8 l 6,-8 l -2,-1.5 l -4,5.5 l -4,-5.5 Z",
         .Width = 32,
         .Height = 24,
         .Ports = {In("A", 7, 5), In("B", 7, 19), Out("A or B", 29, 12)},
         .Implementations = {{&Or_BBB, {B, B, B}}, {&Or_III, {I, I, I}}},
         .MenuItems = {Item(QStringLiteral("Or (\u2228)"), "Logic", 1, 2)},
         .Description = "True when A or B is true; for Integers the bitwise or (12 or 10 is 14)"},
        {.Name = "Not",
         .Shape = "M 0,-2 l 24,14 l -24,14 z M 25,12 c 0,-5 8,-5 8,0 c 0,5 -8,5 -8,0 z",
         .Symbol = "M 8,10 l 9,0 l 0,5 l -2,0 l 0,-3 l -7,0 Z",
         .Width = 32,
         .Height = 24,
         .Ports = {In("A", 3, 12), Out("not A", 29, 12)},
         .Implementations = {{&Not_BB, {B, B}}, {&Not_II, {I, I}}},
         .MenuItems = {Item(QStringLiteral("Not (\u00AC)"), "Logic", 1, 0)},
         .Description = "The opposite truth value; for an Integer every bit flipped (Not 0 is -1)"},
        {.Name = "Plus",
         .Shape = kArithmeticShape,
         .Symbol = "$+,20,15,15",
         .Width = 32,
         .Height = 32,
         .Ports = ArithmeticPorts("x + y"),
         .Implementations = {{&Plus_III, {I, I, I}},
                             {&Plus_RRR, {R, R, R}},
                             {&Plus_SSS, {S, S, S}}},
         .MenuItems = {Item("Plus (+)", "Numeric", 1, 0)},
         .Description =
             "x + y; Integers wrap around past the 64-bit range; Strings are joined, x then y"},
        // The symbol's minus is U+2212, the label's a hyphen.
        {.Name = "Subtract",
         .Shape = kArithmeticShape,
         .Symbol = QStringLiteral("$\u2212,20,15,15"),
         .Width = 32,
         .Height = 32,
         .Ports = ArithmeticPorts("x - y"),
         .Implementations = {{&Subtract_III, {I, I, I}}, {&Subtract_RRR, {R, R, R}}},
         .MenuItems = {Item("Subtract (-)", "Numeric", 1, 1)},
         .Description = "x - y; Integers wrap around past the 64-bit range"},
        {.Name = "Times",
         .Shape = kArithmeticShape,
         .Symbol = QStringLiteral("$\u00D7,20,15,15"),
         .Width = 32,
         .Height = 32,
         .Ports = ArithmeticPorts("x * y"),
         .Implementations = {{&Times_III, {I, I, I}}, {&Times_RRR, {R, R, R}}},
         .MenuItems = {Item("Times (*)", "Numeric", 1, 2)},
         .Description = "x * y; Integers wrap around past the 64-bit range"},
        {.Name = "Divide",
         .Shape = kArithmeticShape,
         .Symbol = QStringLiteral("$\u00F7,20,15,15"),
         .Width = 32,
         .Height = 32,
         .Ports = ArithmeticPorts("x / y"),
         .Implementations = {{&Divide_III, {I, I, I}}, {&Divide_RRR, {R, R, R}}},
         .MenuItems = {Item("Divide (/)", "Numeric", 1, 3)},
         .Description =
             QStringLiteral("x / y; Integers cut toward zero (-7 / 2 is -3) and give 0 by 0; "
                            "Reals by 0 give \u00B1Infinity, 0 / 0 NaN")},
        // Integer first, as it was the only one: a stored node starts as it always did.
        {.Name = "ToString",
         .Shape = kConversionShape,
         .Symbol = "$STR,10,26,8",
         .Width = 48,
         .Height = 16,
         .Ports = ConversionPorts("str(x)"),
         .Implementations = {{&ToString_IS, {I, S}},
                             {&ToString_RS, {R, S}},
                             {&ToString_BS, {B, S}}},
         .MenuItems = {Item("ToString", "Strings", 1, 0)},
         .Description = "x as the text Print writes for it: -42, 0.333333, True"},
        {.Name = "ToInteger",
         .Shape = kConversionShape,
         .Symbol = "$INT,10,26,8",
         .Width = 48,
         .Height = 16,
         .Ports = ConversionPorts("int(x)"),
         .Implementations = {{&ToInteger_RI, {R, I}}},
         .MenuItems = {Item("ToInteger", "Numeric", 2, 0)},
         .Description =
             QStringLiteral("x cut toward zero (2.7 gives 2, -2.7 gives -2); \u00B1Infinity "
                            "gives 0; NaN and numbers beyond the Integer range give "
                            "-9223372036854775808")},
        {.Name = "ToReal",
         .Shape = kConversionShape,
         .Symbol = "$DBL,10,26,8",
         .Width = 48,
         .Height = 16,
         .Ports = ConversionPorts("dbl(x)"),
         .Implementations = {{&ToReal_IR, {I, R}}},
         .MenuItems = {Item("ToReal", "Numeric", 2, 1)},
         .Description = "The Real nearest to x; the even one when x lies halfway between two (only "
                        "beyond 2^53)"},
        // A source like a constant: Real first, so a node placed without a choice draws reals.
        {.Name = "Random",
         .Shape = kPrintShape,
         .Symbol = "M 20,8 l -1.5,4.5 l 1.5,-0.5 l 4,12 l 4.5,1.5 l 4,-12 z m -6,11 l 2,0 "
                   "l 0,2 l -2,0 z m -1,5 l -12,4 l 4,12 l 12,-4 z m 1,3 l 2,0 l 0,2 l -2,0 z "
                   "m 5,11 l 2,0 l 0,2 l -2,0 z",
         .Width = 40,
         .Height = 40,
         .Ports = {Out("", 37, 20)},
         .Implementations = {{&Random_R, {R}}, {&Random_I, {I}}},
         .MenuItems = {Item("Random (Real)", "Numeric", 3, 0, 0),
                       Item("Random (Integer)", "Numeric", 3, 1, 1)},
         .Description = "A new random number at every firing: a real in [0, 1) or a "
                        "non-negative integer"},
        Comparison("Equal", "=", {&Equal_IIB, &Equal_RRB, &Equal_SSB, &Equal_BBB}, 0, 0,
                   "True when x equals y; NaN equals nothing"),
        Comparison(QStringLiteral("NotEqual"), QStringLiteral("\u2260"),
                   {&NotEqual_IIB, &NotEqual_RRB, &NotEqual_SSB, &NotEqual_BBB}, 0, 1,
                   "True when x differs from y; NaN differs from everything"),
        Comparison("Less", "<", {&Less_IIB, &Less_RRB, &Less_SSB}, 1, 0,
                   "True when x comes before y: numbers by value, strings by code point"),
        Comparison(QStringLiteral("LessOrEqual"), QStringLiteral("\u2264"),
                   {&LessOrEqual_IIB, &LessOrEqual_RRB, &LessOrEqual_SSB}, 1, 1,
                   "True when x comes before y or equals it"),
        Comparison("Greater", ">", {&Greater_IIB, &Greater_RRB, &Greater_SSB}, 1, 2,
                   "True when x comes after y: numbers by value, strings by code point"),
        Comparison(QStringLiteral("GreaterOrEqual"), QStringLiteral("\u2265"),
                   {&GreaterOrEqual_IIB, &GreaterOrEqual_RRB, &GreaterOrEqual_SSB}, 1, 3,
                   "True when x comes after y or equals it"),
        {.Name = "Remainder",
         .Shape = kArithmeticShape,
         .Symbol = "$mod,9,13,16",
         .Width = 32,
         .Height = 32,
         .Ports = ArithmeticPorts("x mod y"),
         .Implementations = {{&Remainder_III, {I, I, I}}, {&Remainder_RRR, {R, R, R}}},
         .MenuItems = {Item("Remainder (mod)", "Numeric", 1, 4)},
         .Description =
             "What is left of x after Divide, with the sign of x (-7 mod 2 is -1); by 0 an Integer "
             "gives x, a Real NaN"},
        // A multiplexer: the condition above the two values it chooses between.
        {.Name = "Select",
         .Shape = "M 0,0 l 32,8 l 0,24 l -32,8 z",
         .Symbol = "$?,18,14,20",
         .Width = 32,
         .Height = 40,
         .Ports = {In("if", 3, 8), In("then", 3, 20), In("else", 3, 32), Out("result", 29, 20)},
         .Implementations = {{&Select_BBBB, {B, B, B, B}},
                             {&Select_BIII, {B, I, I, I}},
                             {&Select_BRRR, {B, R, R, R}},
                             {&Select_BSSS, {B, S, S, S}}},
         .MenuItems = {Item("Select", "Logic", 2, 0)},
         .Description = "The then value when if is true, else the else value; waits for all three"},
        {.Name = "Switch",
         .Shape = kChoiceShape,
         // A path that forks in two.
         .Symbol = "M 8,15 l 6,0 l 6,-6 l 4,0 l 0,2 l -3,0 l -5,5 l 5,5 l 3,0 l 0,2 l -4,0 "
                   "l -6,-6 l -6,0 z",
         .Width = 32,
         .Height = 32,
         .Ports = {In("if", 3, 8), In("value", 3, 24), Out("if true", 29, 8),
                   Out("if false", 29, 24)},
         .Implementations = {{&Switch_BBBB, {B, B, B, B}},
                             {&Switch_BIII, {B, I, I, I}},
                             {&Switch_BRRR, {B, R, R, R}},
                             {&Switch_BSSS, {B, S, S, S}}},
         .MenuItems = {Item("Switch", "Logic", 2, 1)},
         .Description = "Sends the value on one output, if true or if false, and nothing on "
                        "the other"},
        // Switch's fork, mirrored: two paths join.
        {.Name = "Merge",
         .Shape = kChoiceShape,
         .Symbol = "M 24,15 l -6,0 l -6,-6 l -4,0 l 0,2 l 3,0 l 5,5 l -5,5 l -3,0 l 0,2 l 4,0 "
                   "l 6,-6 l 6,0 z",
         .Width = 32,
         .Height = 32,
         .Ports = {In("a", 3, 8), In("b", 3, 24), Out("a or b", 29, 16)},
         .Implementations = {{&Merge_BBB, {B, B, B}},
                             {&Merge_III, {I, I, I}},
                             {&Merge_RRR, {R, R, R}},
                             {&Merge_SSS, {S, S, S}}},
         .MenuItems = {Item("Merge", "Logic", 2, 2)},
         .Description =
             "Sends whichever input carries a value, a when both do, nothing when neither does"},
        // A constant with a name, by which a run is given another value from outside.
        {.Name = "Input",
         .Shape = "",
         .Symbol = "",
         .Width = 0,
         .Height = 0,
         .Ports = {Out(kInputBaseName, 0, 0)},
         .Implementations = {{&Input_B, {B}}, {&Input_I, {I}}, {&Input_R, {R}}, {&Input_S, {S}}},
         .MenuItems = {Item("Input (Boolean)", "Logic", 0, 2, 0, 0),
                       Item("Input (Integer)", "Numeric", 0, 2, 1),
                       Item("Input (Real)", "Numeric", 0, 3, 2), Item("Input", "Strings", 0, 1, 3)},
         .Description = "A named value of the program, which a run may be given from outside"},
    };
}

} // namespace

const std::vector<FunctionEntry>& BuiltInFunctions() {
    static const std::vector<FunctionEntry> table = MakeTable();
    return table;
}

void RegisterCatalogue() {
    CatalogueState& cat = Catalogue();
    if (cat.Constant) return;
    for (const FunctionEntry& entry : BuiltInFunctions())
        RegisterFunction(entry);
    // Constants are made by type in many places; their implementations are kept at hand.
    cat.Constant = FindFunction("Constant");
    cat.ConstantBoolean = cat.Constant->Implementations[0].get();
    cat.ConstantInteger = cat.Constant->Implementations[1].get();
    cat.ConstantReal = cat.Constant->Implementations[2].get();
    cat.ConstantString = cat.Constant->Implementations[3].get();
    cat.Input = FindFunction("Input");
}

} // namespace flow
