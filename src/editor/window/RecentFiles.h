#pragma once
// The circuit files opened or saved last, newest first, kept from one session to the next.

#include "model/Records.h"

#include <QStringList>

class QMenu;

namespace flow {

constexpr int kRecentFileCount = 8;

QStringList RecentFiles();
// Puts the file first in the list; the oldest beyond the count drop out.
void RememberRecentFile(const QString& fileName);
// Fills the menu with the recent files; choosing one opens it from the circuit's window.
void FillRecentFilesMenu(QMenu* menu, Circuit& circuit);

} // namespace flow
