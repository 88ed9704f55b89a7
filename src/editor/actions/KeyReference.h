#pragma once
// Every key and mouse action of a circuit's window, as the keys help lists them: the menus'
// commands, made from the window's own actions so that the list says what the menus do, and
// what the canvas, a text being typed and the two popups over the canvas do with keys.

#include <QString>

#include <vector>

class QMenuBar;

namespace flow {

struct KeyRow {
    QString Where;  // the menu ("Edit", "Edit → Align"), or the place: "Canvas", "Mouse", ...
    QString Keys;   // as the menus name them; several are parted by commas
    QString Action; // a menu item's text, or what happens
    bool operator==(const KeyRow&) const = default;
};

// The menu bar's actions that have keys, in menu order; submenus that are filled only when
// opened (Open Recent) have no actions yet.
std::vector<KeyRow> MenuKeyRows(const QMenuBar& menuBar);
// The keys and mouse actions the menus do not name.
const std::vector<KeyRow>& CanvasKeyRows();
// Both: the menus' first.
std::vector<KeyRow> KeyRows(const QMenuBar& menuBar);

} // namespace flow
