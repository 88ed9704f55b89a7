#include "SelectionClosing.h"

#include "support/Files.h"

#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "model/Model.h"

#include <QDir>

#include <set>

namespace flow::test {

void CloseSelection(Circuit& circuit) {
    std::set<const Node*> down, up;
    const auto spread = [](std::set<const Node*>& reached, bool forward) {
        for (std::size_t size = 0; size != reached.size();) {
            size = reached.size();
            for (const Node* node : std::vector<const Node*>(reached.begin(), reached.end()))
                for (const auto& port : node->Ports)
                    for (const Port* next : forward ? port->Targets : port->Feeders)
                        reached.insert(next->Node);
        }
    };
    for (const auto& node : circuit.MainFrame.Nodes)
        if (node->Flags & ObjectFlag::Selected) down.insert(node.get()), up.insert(node.get());
    spread(down, true);
    spread(up, false);
    for (const auto& node : circuit.MainFrame.Nodes)
        if (down.count(node.get()) && up.count(node.get())) node->Flags |= ObjectFlag::Selected;
}

std::string ResavedBytes(const std::string& bytes, const QString& folder) {
    const QString file = QDir(folder).filePath(QStringLiteral("resave.xml"));
    if (!WriteBytes(file, bytes)) return {};
    Circuit* loaded = LoadCircuit(file);
    const std::string saved = loaded ? CircuitFileBytes(*loaded) : std::string();
    if (loaded) FreeCircuit(*loaded);
    return saved;
}

} // namespace flow::test
