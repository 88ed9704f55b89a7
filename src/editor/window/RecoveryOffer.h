#pragma once
// At start, the recovery copies that programs which ended without saving left behind are
// offered, all in one question: Restore opens each as a recovered circuit (Save then asks for a
// name, offering the file it came from), Discard removes them, Later keeps them for the next
// start.

#include "model/Records.h"

#include <vector>

class QWidget;

namespace flow {

// Offers the copies left behind, if any, over the window; returns the circuits restored.
std::vector<Circuit*> OfferLeftCopies(QWidget* parent);

} // namespace flow
