#include "editor/actions/FunctionReference.h"

#include "model/Catalogue.h"
#include "model/Model.h"

#include <QStringList>

namespace flow {

namespace {

QString Anchor(std::size_t index) {
    return QStringLiteral("function%1").arg(index);
}

QString Cell(const QString& tag, const QString& text) {
    return QStringLiteral("<%1>%2</%1>").arg(tag, text.toHtmlEscaped());
}

// The port numbers (from 1), inputs before outputs.
std::vector<std::size_t> PortOrder(const FunctionDef& function) {
    std::vector<std::size_t> order;
    for (const int direction : {Direction::In, Direction::Out})
        for (std::size_t i = 0; i < function.Ports.size(); ++i)
            if (function.Ports[i]->Direction == direction) order.push_back(i + 1);
    return order;
}

QString TypeTable(const FunctionDef& function) {
    const std::vector<std::size_t> order = PortOrder(function);
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\"><tr>");
    for (const std::size_t port : order) {
        const Port& entry = *function.Ports[port - 1];
        const QString label = entry.Label.isEmpty() ? QStringLiteral("(no label)") : entry.Label;
        html += Cell(QStringLiteral("th"),
                     entry.Direction == Direction::Out ? QStringLiteral("\u2192 ") + label : label);
    }
    html += QStringLiteral("</tr>");
    for (const auto& implementation : function.Implementations) {
        html += QStringLiteral("<tr>");
        for (const std::size_t port : order)
            html += Cell(QStringLiteral("td"), port < implementation->Types.size()
                                                   ? PortTypeName(implementation->Types[port])
                                                   : QString());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString Section(const FunctionDef& function, std::size_t index) {
    QString html = QStringLiteral("<h3><a name=\"%1\"></a>%2</h3>")
                       .arg(Anchor(index), function.Name.toHtmlEscaped());
    html += QStringLiteral("<p>%1</p>").arg(function.Description.toHtmlEscaped());
    html += TypeTable(function);
    if (function.Implementations.empty())
        html += QStringLiteral("<p><i>No implementation: a node of it cannot run.</i></p>");
    return html;
}

} // namespace

QString FunctionReferenceHtml() {
    const std::vector<FunctionDef*>& functions = Catalogue().InOrder;
    QStringList index;
    for (std::size_t i = 0; i < functions.size(); ++i)
        index << QStringLiteral("<a href=\"#%1\">%2</a>")
                     .arg(Anchor(i), functions[i]->Name.toHtmlEscaped());
    QString html = QStringLiteral("<p>Each function's ports, inputs first and outputs marked "
                                  "\u2192, take one row of types: a node takes the first row "
                                  "that fits what is wired to it.</p>");
    html += QStringLiteral("<p>") + index.join(QStringLiteral(" \u00B7 ")) + QStringLiteral("</p>");
    for (std::size_t i = 0; i < functions.size(); ++i)
        html += Section(*functions[i], i);
    return html;
}

} // namespace flow
