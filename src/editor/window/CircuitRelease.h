#pragma once
// Closed circuits are freed, so that a long session of opening and closing windows does not
// grow without bound.

#include "model/Records.h"

class QObject;

namespace flow {

// Frees the circuit once its window (already closing) is gone and no thread of a run still
// runs on it; a circuit that such a thread holds is tried again after every later close.
void ReleaseAfterWindow(Circuit& circuit, QObject* window);

} // namespace flow
