// Saving and loading generated circuits, beside expat parsing the same bytes into nothing: the
// floor any reader built on it can reach.

#include "engine/BuiltInFunctions.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "file/XmlParse.h"
#include "file/XmlTree.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <expat.h>

#include <map>

namespace {

using namespace flow;

// Groups of four nodes (two Integer constants, Plus, Print) with four wires each (the second
// constant also feeds the Print a second time), and a comment every hundred nodes.
Circuit& GenerateCircuit(int nodes) {
    RegisterCatalogue();
    const CatalogueState& catalogue = Catalogue();
    FunctionDef* plus = FindFunction(QStringLiteral("Plus"));
    FunctionDef* print = FindFunction(QStringLiteral("Print"));
    Circuit& circuit = NewCircuit();
    Frame* frame = &circuit.MainFrame;
    for (int i = 0; i < nodes; i += 4) {
        if (i % 100 == 0) AddComment(frame, QStringLiteral("Group %1\nof four").arg(i / 4), i, -50);
        Node* a = AddNode(frame, catalogue.Constant, catalogue.ConstantInteger);
        Node* b = AddNode(frame, catalogue.Constant, catalogue.ConstantInteger);
        Node* sum = AddNode(frame, plus, nullptr);
        Node* out = AddNode(frame, print, nullptr);
        a->PortArray[1]->Value = i;
        b->PortArray[1]->Value = -i;
        a->X = b->X = i * 10;
        b->Y = 40;
        sum->X = i * 10 + 50;
        out->X = i * 10 + 100;
        ConnectPorts(a->PortArray[1], sum->PortArray[1]);
        ConnectPorts(b->PortArray[1], sum->PortArray[2]);
        ConnectPorts(sum->PortArray[3], out->PortArray[1]);
        ConnectPorts(b->PortArray[1], out->PortArray[1]);
    }
    return circuit;
}

void Forget(Circuit* circuit) {
    auto& circuits = Circuits();
    std::erase_if(circuits, [&](const auto& owned) { return owned.get() == circuit; });
}

QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

// The file of a generated circuit of that many nodes, written once.
QString FileOf(int nodes) {
    static std::map<int, QString> files;
    auto [it, made] = files.try_emplace(nodes);
    if (made) {
        it->second = Folder().filePath(QStringLiteral("circuit-%1.xml").arg(nodes));
        Circuit& circuit = GenerateCircuit(nodes);
        SaveCircuit(circuit, it->second);
        Forget(&circuit);
    }
    return it->second;
}

QByteArray BytesOf(int nodes) {
    QFile file(FileOf(nodes));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void Save(benchmark::State& state) {
    Circuit& circuit = GenerateCircuit(int(state.range(0)));
    const QString name = Folder().filePath(QStringLiteral("saved.xml"));
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveCircuit(circuit, name));
    state.SetBytesProcessed(state.iterations() * QFile(name).size());
    Forget(&circuit);
}

void Load(benchmark::State& state) {
    const QString name = FileOf(int(state.range(0)));
    for (auto _ : state) {
        Circuit* circuit = LoadCircuit(name);
        benchmark::DoNotOptimize(circuit);
        state.PauseTiming();
        Forget(circuit);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFile(name).size());
}

void ParseTree(benchmark::State& state) {
    const QString name = FileOf(int(state.range(0)));
    for (auto _ : state) {
        XmlDocument document;
        benchmark::DoNotOptimize(ParseXmlFile(name, document));
    }
    state.SetBytesProcessed(state.iterations() * QFile(name).size());
}

void BareExpat(benchmark::State& state) {
    const QByteArray bytes = BytesOf(int(state.range(0)));
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        benchmark::DoNotOptimize(XML_Parse(parser, bytes.constData(), int(bytes.size()), 1));
        XML_ParserFree(parser);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

BENCHMARK(Save)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseTree)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BareExpat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
