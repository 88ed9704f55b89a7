// Any bytes as a circuit file: load, save, load the saved bytes and save again. The two saves
// must be equal and the reload must keep every node, wire and comment; the sanitizers watch
// for everything else. Loading numbers comments and nodes afresh in document order, and a file
// may hold comments after nodes where a saved one holds them first: the saves are therefore
// compared with every node ID replaced by the node's position, and a third save must then
// equal the second byte for byte.

#include "engine/BuiltInFunctions.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

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

// The file with each node's ID replaced by the node's position among the nodes, in the Node
// elements and in the wire ends. Attribute values never hold a quotation mark unescaped, so
// the patterns cannot match inside a text.
QString NodesByPosition(const std::string& bytes) {
    QString text = QString::fromStdString(bytes);
    QHash<QString, QString> positions;
    const QRegularExpression node(QStringLiteral("<Node ID=\"(-?[0-9]+)\""));
    for (const QRegularExpressionMatch& match : node.globalMatch(text))
        positions.insert(match.captured(1), QString::number(positions.size() + 1));
    const QRegularExpression reference(
        QStringLiteral("((?:<Node ID|Source|Destination)=\")(-?[0-9]+)"));
    QString renumbered;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : reference.globalMatch(text)) {
        renumbered += QStringView(text).mid(done, match.capturedStart(2) - done);
        renumbered += positions.value(match.captured(2), QStringLiteral("?"));
        done = match.capturedEnd(2);
    }
    return renumbered + text.mid(done);
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
    const std::string savedAgain = CircuitFileBytes(*second);
    Check(NodesByPosition(savedAgain) == NodesByPosition(saved),
          "saving the reloaded circuit gives another circuit");
    Circuit* third = LoadBytes(savedAgain.data(), savedAgain.size());
    Check(third != nullptr && CircuitFileBytes(*third) == savedAgain,
          "a saved circuit does not come back byte for byte");
    FreeCircuit(*first);
    FreeCircuit(*second);
    FreeCircuit(*third);
    return 0;
}
