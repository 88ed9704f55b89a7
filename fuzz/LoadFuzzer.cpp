// Any bytes as a circuit file: load, save, load the saved bytes and save again. The two saves
// must be equal and the reload must keep every node, wire and comment; the sanitizers watch
// for everything else.

#include "file/CircuitFile.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

using namespace flow;

// One file per fuzzing process, in memory where the system offers it.
const QString& ScratchFile() {
    static const QString name =
        (QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                   : QDir::tempPath()) +
        QStringLiteral("/flowlattice-fuzz-%1.xml").arg(getpid());
    return name;
}

Circuit* LoadBytes(const char* data, std::size_t size) {
    QFile file(ScratchFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    if (file.write(data, qint64(size)) != qint64(size)) std::abort();
    file.close();
    return LoadCircuit(ScratchFile());
}

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "load fuzzer: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RegisterCatalogue();
    Circuit* first = LoadBytes(reinterpret_cast<const char*>(data), size);
    if (!first) return 0;
    const std::string saved = CircuitFileBytes(*first);
    Circuit* second = LoadBytes(saved.data(), saved.size());
    Check(second != nullptr, "the saved file does not load");
    Check(second->MainFrame.Nodes.size() == first->MainFrame.Nodes.size(), "nodes lost");
    Check(second->MainFrame.Wires.size() == first->MainFrame.Wires.size(), "wires lost");
    Check(second->MainFrame.Comments.size() == first->MainFrame.Comments.size(), "comments lost");
    Check(CircuitFileBytes(*second) == saved, "saving the reloaded circuit gives other bytes");
    FreeCircuit(*first);
    FreeCircuit(*second);
    return 0;
}
