#pragma once
// The output panel's height as the user last left it by dragging the separator, kept between
// starts: windows open with their panel at it, and a printed line opens a collapsed panel to it.

class QSplitter;

namespace flow {

// 0 when the panel was left collapsed, or never given a height.
int KeptPanelHeight();
// Keeps the height the user drags the splitter's panel (its second part) to.
void KeepPanelHeightOf(QSplitter& splitter);
// Opens the splitter's panel to the height, the canvas above taking the rest.
void SetPanelHeight(QSplitter& splitter, int height);
// A printed line's panel: a collapsed one opens to the kept height, or to 76 pixels; an open
// one stays as the user made it.
void OpenPanelForOutput(QSplitter& splitter);

} // namespace flow
