#pragma once
// The Help menu: the list of keyboard shortcuts, made from the window's own menu actions so
// that it always says what the menus do, and the About box.

#include "model/Records.h"

#include <QList>
#include <QPair>
#include <QString>

class QDialog;
class QMenuBar;

namespace flow {

// Every action of the menu bar as "Menu → Item" with its keys (empty when it has none), in
// menu order; submenus that are filled only when opened (Open Recent) have no actions yet.
QList<QPair<QString, QString>> MenuShortcuts(const QMenuBar& menuBar);

// Both dialogs close themselves and are gone once closed; each returns the dialog it shows.
QDialog* ShowKeyboardShortcuts(Circuit& circuit);
QDialog* ShowAbout(Circuit& circuit);

} // namespace flow
