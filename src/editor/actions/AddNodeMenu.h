#pragma once
// The popup menu of node types, shared by every window, and what its entries make.

#include "model/Records.h"

#include <QPoint>

class QMenu;

namespace flow {

// Command ids of the add-node menu.
constexpr int kFirstAddNodeCommand = 8;
constexpr int kLastAddNodeCommand = 23;

// Builds the menu once; later calls do nothing. Needs the catalogue and a QApplication.
void BuildAddNodeMenu();
QMenu* AddNodeMenu();

// Fills the placement preview node as the menu entry with this id describes, which makes its
// function pending for placement. Ids outside the menu do nothing.
void FillPreviewNode(int commandId);

// Opens the menu at a screen position; a choice is carried out for that circuit's window.
void PopUpAddNodeMenu(Circuit& circuit, const QPoint& screenPosition);

} // namespace flow
