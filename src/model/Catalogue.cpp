#include "model/Catalogue.h"

#include "engine/Routines.h"
#include "model/Model.h"

namespace flow {

CatalogueState& Catalogue() {
    static CatalogueState state;
    return state;
}

FunctionDef* FindFunction(const QString& name) {
    auto& byName = Catalogue().ByName;
    auto it = byName.find(name);
    return it == byName.end() ? nullptr : it->second.get();
}

FunctionDef* AddFunctionDef(const QString& name, const QString& shape, const QString& symbol,
                            Int width, Int height) {
    auto def = std::make_unique<FunctionDef>();
    def->Name = name;
    def->Shape = shape;
    def->Symbol = symbol;
    def->Width = width;
    def->Height = height;
    FunctionDef* raw = def.get();
    Catalogue().ByName[name] = std::move(def);
    Catalogue().InOrder.push_back(raw);
    Catalogue().Current = raw;
    return raw;
}

Implementation* AddImplementation(const Routine* routine, int type1, int type2, int type3) {
    FunctionDef* def = Catalogue().Current;
    auto impl = std::make_unique<Implementation>();
    impl->Routine = routine;
    const std::size_t portCount = def->Ports.size();
    impl->Types.assign(portCount + 1, 0);
    const int types[] = {type1, type2, type3};
    for (std::size_t i = 1; i <= portCount && i <= 3; ++i)
        impl->Types[i] = types[i - 1];
    def->Implementations.push_back(std::move(impl));
    return def->Implementations.back().get();
}

namespace {

const QString kPrintShape = "M 0 8 c 0 -5 3 -8 8 -8 l 24 0 c 5 0 8 3 8 8 l 0 24 c 0 5 -3 8 -8 8 "
                            "l -24 0 c -5 0 -8 -3 -8 -8 z";
const QString kArithmeticShape =
    "M 0 4 c 0 -4 2 -6 6 -4 l 24 12 c 4 2 4 6 0 8 l -24 12 c -4 2 -6 0 -6 -4 z";
const QString kConversionShape = "M 0,0 l 40,0 c 11,0 11,16 0,16 l -40,0 c 6,-3 6,-13 0,-16 z";

void In(const QString& label, Int x, Int y) {
    AddPortTemplate(Catalogue().Current, Direction::In, label, x, y, 1, 0);
}
void Out(const QString& label, Int x, Int y) {
    AddPortTemplate(Catalogue().Current, Direction::Out, label, x, y, 1, 0);
}

// Plus, Subtract, Times and Divide share their body and port positions.
void Arithmetic(const QString& name, const QString& symbol, const QString& outLabel) {
    AddFunctionDef(name, kArithmeticShape, symbol, 32, 32);
    In("x", 3, 8);
    In("y", 3, 24);
    Out(outLabel, 29, 16);
}

void Conversion(const QString& name, const QString& symbol, const QString& outLabel) {
    AddFunctionDef(name, kConversionShape, symbol, 48, 16);
    In("x", 8, 8);
    Out(outLabel, 45, 8);
}

} // namespace

void RegisterCatalogue() {
    CatalogueState& cat = Catalogue();
    if (!cat.InOrder.empty())
        return;
    using namespace routines;
    constexpr int B = PortType::Boolean, I = PortType::Integer, R = PortType::Real,
                  S = PortType::String;

    cat.Constant = AddFunctionDef("Constant", "", "", 0, 0);
    Out("Constant", 0, 0);
    cat.ConstantBoolean = AddImplementation(&Constant_B, B);
    cat.ConstantInteger = AddImplementation(&Constant_I, I);
    cat.ConstantReal = AddImplementation(&Constant_R, R);
    cat.ConstantString = AddImplementation(&Constant_S, S);

    AddFunctionDef("Print", kPrintShape,
                   "M 20,26 l 0,2 l 6,0 l 0,-2 z m -8,-6 l 3,3 l -3,3 l 1.5,1.5 l 4.5,-4.5 "
                   "l -4.5,-4.5 z M 8,8 l 24,0 l 0,24 l -24,0 z M 10,16 l 20,0 l 0,14 l -20,0 z",
                   40, 40);
    In("Value to print", 3, 20);
    AddImplementation(&Print_B, B);
    AddImplementation(&Print_I, I);
    AddImplementation(&Print_R, R);
    AddImplementation(&Print_S, S);

    AddFunctionDef("And", "M 0,0 l 20,0 c 16,0 16,24 0,24 l -20,0 z",
                   "M 10,15 l 6,-8 l 6,8 l -2,1.5 l -4,-5.5 l -4,5.5 Z", 32, 24);
    In("A", 3, 5);
    In("B", 3, 19);
    Out("A and B", 29, 12);
    AddImplementation(&And_BBB, B, B, B);
    AddImplementation(&And_III, I, I, I);

    AddFunctionDef("Or",
                   "M -1,0 l 14,0 c 15,0 20,12 20,12 c 0,0 -5,12 -20,12 l -14,0 "
                   "c 8,-6 8,-18 0,-24 z",
                   "M 12,9 l 6,8 l 6,-8 l -2,-1.5 l -4,5.5 l -4,-5.5 Z", 32, 24);
    In("A", 7, 5);
    In("B", 7, 19);
    Out("A or B", 29, 12);
    AddImplementation(&Or_BBB, B, B, B);
    AddImplementation(&Or_III, I, I, I);

    AddFunctionDef("Not",
                   "M 0,-2 l 24,14 l -24,14 z M 25,12 c 0,-5 8,-5 8,0 c 0,5 -8,5 -8,0 z",
                   "M 8,10 l 9,0 l 0,5 l -2,0 l 0,-3 l -7,0 Z", 32, 24);
    In("A", 3, 12);
    Out("not A", 29, 12);
    AddImplementation(&Not_BB, B, B);
    AddImplementation(&Not_II, I, I);

    Arithmetic("Plus", "$+,20,15,15", "x + y");
    AddImplementation(&Plus_III, I, I, I);
    AddImplementation(&Plus_RRR, R, R, R);
    AddImplementation(&Plus_SSS, S, S, S);

    Arithmetic("Subtract", QStringLiteral("$\u2212,20,15,15"), "x - y");
    AddImplementation(&Subtract_III, I, I, I);
    AddImplementation(&Subtract_RRR, R, R, R);

    Arithmetic("Times", QStringLiteral("$\u00D7,20,15,15"), "x * y");
    AddImplementation(&Times_III, I, I, I);
    AddImplementation(&Times_RRR, R, R, R);

    Arithmetic("Divide", QStringLiteral("$\u00F7,20,15,15"), "x / y");
    AddImplementation(&Divide_III, I, I, I);
    AddImplementation(&Divide_RRR, R, R, R);

    Conversion("ToString", "$STR,10,26,8", "str(x)");
    AddImplementation(&ToString_IS, I, S);

    Conversion("ToInteger", "$INT,10,26,8", "int(x)");
    AddImplementation(&ToInteger_RI, R, I);

    Conversion("ToReal", "$DBL,10,26,8", "dbl(x)");
    AddImplementation(&ToReal_IR, I, R);

    // Random has no implementation: a node of it can be drawn and saved but never run.
    AddFunctionDef("Random", kPrintShape,
                   "M 20,8 l -1.5,4.5 l 1.5,-0.5 l 4,12 l 4.5,1.5 l 4,-12 z m -6,11 l 2,0 "
                   "l 0,2 l -2,0 z m -1,5 l -12,4 l 4,12 l 12,-4 z m 1,3 l 2,0 l 0,2 l -2,0 z "
                   "m 5,11 l 2,0 l 0,2 l -2,0 z",
                   40, 40);
    Out("", 37, 20);
}

} // namespace flow
