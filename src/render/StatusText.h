#pragma once
// The three fields of a circuit window's status bar: 0 the mouse position, 1 the run status,
// 2 what is under the mouse. A circuit without a window has no status bar; writes then go
// nowhere and reads give "".

#include "model/Records.h"

namespace flow {

void SetStatusText(Circuit& circuit, int field, const QString& text);
QString StatusText(const Circuit& circuit, int field);

// A passing notice (a failed export, a paste that found nothing), shown over the fields for a
// few seconds; and the notice shown now, "" when none.
void ShowStatusNotice(Circuit& circuit, const QString& text);
QString StatusNotice(const Circuit& circuit);

} // namespace flow
