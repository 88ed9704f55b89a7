#pragma once
// The output panel's context menu: Copy (the selected text, or all of it when nothing is
// selected) and Clear.

class QPlainTextEdit;

namespace flow {

void AddOutputPanelMenu(QPlainTextEdit* panel);

} // namespace flow
