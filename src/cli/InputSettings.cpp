#include "cli/InputSettings.h"

#include "editor/canvas/TypedValue.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/Placement.h"
#include "render/NodeDrawing.h"

#include <QStringList>

namespace flow {

namespace {

QString WithInputs(const QString& problem, const Circuit& circuit) {
    QString listing = InputListing(circuit);
    if (listing.isEmpty()) return problem + QStringLiteral("; the circuit has no inputs");
    // The caller ends the message's last line.
    listing.chop(1);
    return problem + QStringLiteral("; the circuit's inputs (name, type, value):\n") + listing;
}

} // namespace

std::optional<InputSetting> ParseInputSetting(const QString& text) {
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0) return std::nullopt;
    return InputSetting{text.left(equals), text.mid(equals + 1)};
}

QString ApplyInputSettings(Circuit& circuit, const std::vector<InputSetting>& settings) {
    const std::vector<Node*> inputs = InputsOf(circuit);
    for (const InputSetting& setting : settings) {
        bool found = false;
        // A file written by hand may name two inputs alike: the setting is for both.
        for (Node* input : inputs) {
            if (InputName(*input) != setting.Name) continue;
            found = true;
            const TypedValue read = ReadTypedValue(HeldType(*input), setting.Value);
            if (!read.Refusal.isEmpty())
                return WithInputs(QStringLiteral("input “%1”: %2").arg(setting.Name, read.Refusal),
                                  circuit);
            const Port* port = FirstPort(*input);
            const bool text = HeldType(*input) == PortType::String;
            SetConstantValue(*input, text ? port->Value : read.Number,
                             text ? read.Text : port->Text);
        }
        if (!found)
            return WithInputs(QStringLiteral("no input is named “%1”").arg(setting.Name), circuit);
    }
    return QString();
}

QString InputListing(const Circuit& circuit) {
    QString listing;
    for (const Node* input : InputsOf(circuit)) {
        QString value = ValueText(*input);
        value.replace(QLatin1Char('\n'), QChar(0x21B5));
        listing += QStringList{InputName(*input), PortTypeName(HeldType(*input)), value}.join(
                       QLatin1Char('\t')) +
                   QLatin1Char('\n');
    }
    return listing;
}

} // namespace flow
