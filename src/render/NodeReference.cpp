#include "render/NodeReference.h"

#include "engine/RunCopies.h"
#include "model/Model.h"
#include "model/SubCircuits.h"

namespace flow {

namespace {

QString Quoted(const QString& text) {
    return QStringLiteral("\u201C%1\u201D").arg(text);
}

QString NodeTitle(const Node& node) {
    const QString name = node.Function ? node.Function->Name : QString();
    if (IsPin(node)) return name + QStringLiteral(" ") + Quoted(PinName(node));
    return name;
}

QString DirectionName(int direction) {
    return direction == Direction::In ? QStringLiteral("In") : QStringLiteral("Out");
}

QString PortLine(const Node& node, const Port& port, std::size_t index,
                 const std::vector<Node*>& openPath) {
    const int type = ShownType(port, openPath);
    const QString typeText = type != PortType::Generic || !node.Function
                                 ? PortTypeName(type)
                                 : OfferedTypes(*node.Function, index);
    const QString shown = typeText.isEmpty() ? QStringLiteral("no type") : typeText;
    if (port.Label.isEmpty())
        return QStringLiteral("%1 (%2)").arg(DirectionName(port.Direction), shown);
    return QStringLiteral("%1: %2 (%3)").arg(DirectionName(port.Direction), port.Label, shown);
}

struct Reference {
    QString Title, Description;
    QStringList Ports;
};

Reference ReferenceOf(const Node& node, const std::vector<Node*>& openPath) {
    Reference reference{
        NodeTitle(node), node.Function ? FunctionDescription(*node.Function) : QString(), {}};
    for (const int direction : {Direction::In, Direction::Out})
        for (std::size_t i = 1; i < node.PortArray.size(); ++i)
            if (const Port* port = node.PortArray[i]; port && port->Direction == direction)
                reference.Ports << PortLine(node, *port, i, openPath);
    return reference;
}

} // namespace

QString FunctionDescription(const FunctionDef& function) {
    if (!IsSubCircuit(&function)) return function.Description;
    switch (function.Loop) {
    case LoopKind::Counted:
        return QStringLiteral("A loop of this circuit: runs its body \u201Ctimes\u201D times, one "
                              "iteration after another");
    case LoopKind::Conditional:
        return QStringLiteral("A loop of this circuit: runs its body until its Continue Pin "
                              "receives false or nothing");
    case LoopKind::None:
        break;
    }
    return QStringLiteral("A sub-circuit of this circuit: runs its body in its place");
}

QString OfferedTypes(const FunctionDef& function, std::size_t index) {
    if (IsSubCircuit(&function)) return QStringLiteral("any type");
    QStringList names;
    for (const auto& implementation : function.Implementations) {
        const QString name = index < implementation->Types.size()
                                 ? PortTypeName(implementation->Types[index])
                                 : QString();
        if (!name.isEmpty() && !names.contains(name)) names << name;
    }
    if (names.size() < 2) return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

QString NodeReferenceText(const Node& node, const std::vector<Node*>& openPath) {
    const Reference reference = ReferenceOf(node, openPath);
    QStringList lines{reference.Title};
    if (!reference.Description.isEmpty()) lines << reference.Description;
    return (lines + reference.Ports).join(QLatin1Char('\n'));
}

QString NodeReferenceHtml(const Node& node, const std::vector<Node*>& openPath) {
    const Reference reference = ReferenceOf(node, openPath);
    QString html = QStringLiteral("<p><b>%1</b>").arg(reference.Title.toHtmlEscaped());
    if (!reference.Description.isEmpty())
        html += QStringLiteral("<br>") + reference.Description.toHtmlEscaped();
    html += QStringLiteral("</p>");
    if (reference.Ports.isEmpty()) return html;
    QStringList ports;
    for (const QString& port : reference.Ports)
        ports << port.toHtmlEscaped();
    return html + QStringLiteral("<p style=\"white-space:pre\">") +
           ports.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
}

} // namespace flow
