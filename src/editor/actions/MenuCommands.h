#pragma once
// The commands of the menu bar, the add-node menu and F5, carried out for one circuit's window.

#include "model/Records.h"

#include <QString>

#include <functional>

class QWidget;

namespace flow {

// The commands of the menus, by the ids their actions carry. The add-node menu's items carry ids
// above all of these (kFirstAddNodeCommand, actions/AddNodeMenu.h).
enum class Command {
    New = 0,
    Open = 1,
    SaveAs = 2,
    Close = 3,
    Quit = 4,
    Save = 5,
    Start = 7,
    Stop = 8,
    RepeatLastSeed = 9,
    StartWithInputs = 19,
    // Watching a run.
    ToggleBreakpoint = 21,
    Pause = 22,
    Step = 23,
    RunOnEveryChange = 24,
    Replay = 25,
    ReplayHalfSpeed = 26,
    ReplayNormalSpeed = 27,
    ReplayDoubleSpeed = 28,
    Undo = 30,
    Redo = 31,
    Cut = 32,
    Copy = 33,
    Paste = 34,
    Duplicate = 35,
    Delete = 36,
    SelectAll = 37,
    Find = 38,
    ExportImage = 40,
    ImportSubCircuits = 41,
    ZoomIn = 50,
    ZoomOut = 51,
    FitCircuit = 52,
    ActualSize = 53,
    ShowValues = 54,
    Overview = 55,
    RunTimeline = 56,
    SnapToGrid = 60,
    AlignLeft = 61,
    AlignRight = 62,
    AlignTop = 63,
    AlignBottom = 64,
    AlignCentres = 65,
    DistributeHorizontally = 66,
    DistributeVertically = 67,
    SelectConnected = 68,
    KeyboardShortcuts = 70,
    About = 71,
    Functions = 72,
    // Making and taking apart sub-circuits.
    MakeSubCircuit = 100,
    Ungroup = 101,
    RenameSubCircuit = 102,
    OpenSubCircuit = 110,
    Up = 111,
};

void OnMenu(Circuit& circuit, Command command);
// The command an action's id names: a menu command, or an item of the add-node menu.
void OnMenu(Circuit& circuit, int commandId);

// Asks the user for a file name; an empty result means cancelled. The editor uses file dialogs;
// tests put a chooser of their own here.
enum class FileDialogKind { Open, Save };
using FileNameChooser = std::function<QString(QWidget* parent, FileDialogKind kind)>;
FileNameChooser& ChooseFileName();

} // namespace flow
