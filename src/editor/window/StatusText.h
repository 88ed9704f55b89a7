#pragma once
// The three fields of a circuit window's status bar, and its passing notices. A circuit without
// a window has no status bar; writes then go nowhere and reads give "".

#include "model/Records.h"

#include <array>

class QLabel;
class QStatusBar;

namespace flow {

enum class StatusField {
    Position,  // the mouse position in circuit units
    RunStatus, // how the latest run went
    Hover,     // what is under the mouse
};
constexpr int kStatusFieldCount = 3;

// Adds the fields to a window's status bar, in order, each parted from the one before by a line
// and some room: the run's status may grow past its width, and the hover text, which takes
// what is left, never widens the bar. The fields are written by SetStatusText.
std::array<QLabel*, kStatusFieldCount> AddStatusFields(QStatusBar& bar);

void SetStatusText(Circuit& circuit, StatusField field, const QString& text);
QString StatusText(const Circuit& circuit, StatusField field);

// A passing notice (a failed export, a paste that found nothing), shown over the fields for a
// few seconds; and the notice shown now, "" when none.
void ShowStatusNotice(Circuit& circuit, const QString& text);
QString StatusNotice(const Circuit& circuit);

} // namespace flow
