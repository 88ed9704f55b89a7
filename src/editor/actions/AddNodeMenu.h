#pragma once
// The popup menu of node types, shared by every window, and what its entries make.

#include "model/Records.h"

#include <QPoint>

class QMenu;

namespace flow {

// The add-node menu's items take the command ids from here up, one each in menu order, made
// from the catalogue's functions (FunctionDef::MenuItems). They lie above every other command's
// id, so that there is room for any number of functions.
constexpr int kFirstAddNodeCommand = 1000;
int AddNodeCommandCount();

// Builds the menu once; later calls do nothing. Needs a QApplication and the catalogue with
// every function it is to offer.
void BuildAddNodeMenu();
QMenu* AddNodeMenu();

// Fills the placement preview node as the menu entry with this id describes, which makes its
// function pending for placement. Ids outside the menu do nothing.
void FillPreviewNode(Node& preview, int commandId);
// The function of the menu entry with this id; none for ids outside the menu.
FunctionDef* MenuItemFunction(int commandId);

// Why a node of the function cannot go into the circuit's shown frame: an instance would make
// that frame's sub-circuit contain itself, and an input belongs to the main frame. Empty when it
// can.
QString PlacementRefusal(const Circuit& circuit, const FunctionDef* function);
// Makes a sub-circuit (or a pin) the function pending for placement in the circuit's shown
// frame; an instance that would make that frame's sub-circuit contain itself is refused in the
// status bar. Returns whether it is pending.
bool OfferForPlacement(Circuit& circuit, FunctionDef* function);

// Opens the menu at a screen position; a choice is carried out for that circuit's window. Below
// the built-in functions it lists the circuit's sub-circuits, the pins inside a sub-circuit, and
// the sub-circuits no instance uses, to delete.
void PopUpAddNodeMenu(Circuit& circuit, const QPoint& screenPosition);

} // namespace flow
