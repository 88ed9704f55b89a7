#include "editor/history/PastedDefinitions.h"

#include "editor/history/CompoundEdit.h"
#include "editor/history/ObjectCopy.h"
#include "file/CircuitWriter.h"
#include "file/XmlWrite.h"
#include "model/SubCircuits.h"

#include <QHash>

#include <algorithm>

namespace flow {

namespace {

std::string AttributeText(const XmlNode* element, std::string_view name) {
    return std::string(AttributeValue(element, name));
}

// Adds the sub-circuit to `order` after every one its body uses, unless it is there already.
void AddUsedFirst(FunctionDef* definition, std::vector<FunctionDef*>& order) {
    if (std::find(order.begin(), order.end(), definition) != order.end()) return;
    for (const Node* instance : InstancesIn(BodyOf(*definition)))
        AddUsedFirst(instance->Function, order);
    order.push_back(definition);
}

QString FreeName(const Circuit& target, const Circuit& pasted, const QString& name) {
    for (int n = 2;; ++n) {
        const QString candidate = NumberedName(name, n);
        if (SubCircuitNameProblem(target, candidate).isEmpty() &&
            !FindSubCircuit(pasted, candidate))
            return candidate;
    }
}

// Whether an instance of the pasted sub-circuit would bring `outer` inside itself.
bool Contains(const FunctionDef* definition, const PastePlan& plan, const FunctionDef* outer) {
    const auto reused = plan.Target.find(definition);
    if (reused != plan.Target.end()) return WouldRecurse(outer, reused->second);
    for (const Node* instance : InstancesIn(BodyOf(*definition)))
        if (Contains(instance->Function, plan, outer)) return true;
    return false;
}

} // namespace

std::vector<const FunctionDef*> DefinitionsNeeded(const Circuit& circuit,
                                                  const FrameObjects& objects) {
    std::vector<FunctionDef*> used;
    for (const Node* node : objects.Nodes)
        if (IsInstance(*node)) AddUsedFirst(node->Function, used);
    std::vector<const FunctionDef*> needed;
    for (const auto& definition : circuit.SubCircuits)
        if (std::find(used.begin(), used.end(), definition.get()) != used.end())
            needed.push_back(definition.get());
    return needed;
}

std::string ComparableBody(const FunctionDef& definition) {
    XmlDocument document;
    XmlNode* frame = WriteFrame(BodyOf(definition), &document.Top);
    QHash<QString, QString> ordinals;
    for (XmlNode* child = frame->FirstChild; child; child = child->NextSibling)
        if (child->Kind == XmlKind::Element && child->Name == "Node") {
            const QString ordinal = QString::number(ordinals.size() + 1);
            ordinals.insert(QString::fromStdString(AttributeText(child, "ID")), ordinal);
            SetAttribute(child, "ID", ordinal.toStdString());
        }
    const auto renumber = [&](XmlNode* wire, std::string_view end) {
        const QString text = QString::fromStdString(AttributeText(wire, end));
        const qsizetype slash = text.indexOf(QLatin1Char('/'));
        const QString ordinal = ordinals.value(text.left(slash), QStringLiteral("0"));
        SetAttribute(wire, end, (ordinal + text.mid(slash)).toStdString());
    };
    for (XmlNode* child = frame->FirstChild; child; child = child->NextSibling)
        if (child->Kind == XmlKind::Element && child->Name == "Wire") {
            renumber(child, "Source");
            renumber(child, "Destination");
        }
    return WriteXml(document);
}

PastePlan PlanPastedDefinitions(Circuit& pasted, const Circuit& target) {
    std::vector<FunctionDef*> all;
    for (const auto& definition : pasted.SubCircuits)
        all.push_back(definition.get());
    return PlanPastedDefinitions(pasted, target, all);
}

PastePlan PlanPastedDefinitions(Circuit& pasted, const Circuit& target,
                                const std::vector<FunctionDef*>& wanted) {
    PastePlan plan;
    std::vector<FunctionDef*> order;
    for (FunctionDef* definition : wanted)
        AddUsedFirst(definition, order);
    for (FunctionDef* definition : order) {
        FunctionDef* existing = FindSubCircuit(target, definition->Name);
        if (existing && ComparableBody(*existing) == ComparableBody(*definition)) {
            plan.Target.emplace(definition, existing);
            continue;
        }
        if (existing)
            RenameSubCircuit(pasted, *definition, FreeName(target, pasted, definition->Name));
        plan.Created.push_back(definition);
    }
    return plan;
}

FunctionDef* TargetOf(const PastePlan& plan, FunctionDef* pasted) {
    const auto found = plan.Target.find(pasted);
    return found == plan.Target.end() ? nullptr : found->second;
}

void AddPlannedDefinitions(Circuit& target, PastePlan& plan, CompoundEdit& edit) {
    // Each comes after those it uses, so that its instances find their function made.
    for (FunctionDef* definition : plan.Created) {
        FunctionDef* made = AddSubCircuit(target, definition->Name);
        CopyObjects(AllObjectsOf(BodyOf(*definition)), BodyOf(*made), 0, 0,
                    [&plan](FunctionDef* function) { return TargetOf(plan, function); });
        plan.Target.emplace(definition, made);
        edit.Added(*made);
    }
}

QString PasteRecursion(const Circuit& pasted, const PastePlan& plan, const Frame& into) {
    const FunctionDef* outer = DefinitionOf(into);
    if (!outer) return QString();
    for (const Node* instance : InstancesIn(pasted.MainFrame))
        if (Contains(instance->Function, plan, outer))
            return QStringLiteral("Nothing pasted: “%1” would contain itself").arg(outer->Name);
    return QString();
}

} // namespace flow
