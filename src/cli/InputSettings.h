#pragma once
// The values a command line gives a circuit's inputs: --set NAME=VALUE, read by the rules the
// editor reads typed values by, and the list of inputs that --inputs prints and that a refused
// setting shows.

#include <QString>

#include <optional>
#include <vector>

namespace flow {

struct Circuit;

struct InputSetting {
    QString Name;
    QString Value; // as typed: a String takes it as it is
};

// NAME=VALUE, split at the first "="; none without one.
std::optional<InputSetting> ParseInputSetting(const QString& text);

// Gives the inputs their values, in the circuit only: the file is never written. Returns why a
// setting cannot be made (a name no input has, a value not of its input's type), with the list
// of the inputs after it; empty when every one was made.
QString ApplyInputSettings(Circuit& circuit, const std::vector<InputSetting>& settings);

// One line per input of the main frame, in its order: name, type and value as the canvas shows
// it, parted by tabs. A String's line feeds show as "↵", so that each input keeps one line.
QString InputListing(const Circuit& circuit);

} // namespace flow
