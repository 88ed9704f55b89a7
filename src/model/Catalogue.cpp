#include "model/Catalogue.h"

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

FunctionDef* RegisterFunction(const FunctionEntry& entry) {
    // Nodes and files know a function by its name: a second one of a name is refused.
    if (FindFunction(entry.Name)) return nullptr;
    auto def = std::make_unique<FunctionDef>();
    def->Name = entry.Name;
    def->Shape = entry.Shape;
    def->Symbol = entry.Symbol;
    def->Width = entry.Width;
    def->Height = entry.Height;
    def->MenuItems = entry.MenuItems;
    def->Description = entry.Description;
    for (const FunctionEntry::PortEntry& port : entry.Ports)
        AddPortTemplate(def.get(), port.Direction, port.Label, port.X, port.Y, 1, 0);
    const std::size_t portCount = def->Ports.size();
    for (const FunctionEntry::ImplementationEntry& variant : entry.Implementations) {
        auto impl = std::make_unique<Implementation>();
        impl->Routine = variant.Routine;
        // Entry 0 stands for no port; types beyond the ports are ignored.
        impl->Types.assign(portCount + 1, 0);
        for (std::size_t i = 0; i < portCount && i < variant.Types.size(); ++i)
            impl->Types[i + 1] = variant.Types[i];
        def->Implementations.push_back(std::move(impl));
    }
    FunctionDef* raw = def.get();
    Catalogue().ByName[entry.Name] = std::move(def);
    Catalogue().InOrder.push_back(raw);
    return raw;
}

} // namespace flow
