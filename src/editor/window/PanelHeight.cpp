#include "editor/window/PanelHeight.h"

#include "editor/window/EditorSettings.h"

#include <QSplitter>

#include <algorithm>

namespace flow {

namespace {

constexpr char kPanelHeightKey[] = "OutputPanelHeight";
// What a printed line opens a panel to when it was never given a height: 76 pixels of output
// below the 4-pixel separator.
constexpr int kFirstPanelHeight = 76;

int PanelHeight(const QSplitter& splitter) {
    return splitter.sizes().value(1);
}

} // namespace

int KeptPanelHeight() {
    return std::max(0, EditorSettings().value(QLatin1String(kPanelHeightKey), 0).toInt());
}

void KeepPanelHeightOf(QSplitter& splitter) {
    // Moved by the user's hand only: the panel a printed line opens is not the user's choice.
    QObject::connect(&splitter, &QSplitter::splitterMoved, &splitter, [&splitter] {
        EditorSettings().setValue(QLatin1String(kPanelHeightKey), PanelHeight(splitter));
    });
}

void SetPanelHeight(QSplitter& splitter, int height) {
    const int room = std::max(0, splitter.height() - splitter.handleWidth());
    const int panel = std::clamp(height, 0, room);
    splitter.setSizes({room - panel, panel});
}

void OpenPanelForOutput(QSplitter& splitter) {
    if (PanelHeight(splitter) > 0) return;
    const int kept = KeptPanelHeight();
    SetPanelHeight(splitter, kept > 0 ? kept : kFirstPanelHeight);
}

} // namespace flow
