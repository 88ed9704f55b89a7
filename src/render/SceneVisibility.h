#pragma once
// Which objects can put a pixel on the canvas. Drawing skips the others; the hit test still
// visits every object.

#include "model/Records.h"

#include <QRectF>

namespace flow {

// Whether drawing skips what lies off the canvas; on unless a test compares with and without.
bool& SkipHiddenObjects();

// Everything that drawing an object can cover, in circuit units, where the object stands (a
// drag in progress not counted). A wire is measured only when both its ends are on nodes.
QRectF DrawnBounds(const Wire& wire);
QRectF DrawnBounds(const Node& node);
QRectF DrawnBounds(const Comment& comment);

class SceneVisibility {
  public:
    explicit SceneVisibility(const Circuit& circuit);
    bool Shows(const Wire& wire) const;
    bool Shows(const Node& node) const;
    bool Shows(const Comment& comment) const;

  private:
    bool Overlaps(QRectF bounds) const;
    QRectF View; // the canvas in circuit units, a pixel wider on every side
    bool Everything = false;
};

} // namespace flow
