#pragma once
// What other programs do to the file a window shows. Without unsaved changes the window reloads
// a changed file, as a step that Undo takes back; with them it asks first, and a later Save asks
// again before it writes over the other program's content. A deleted or moved file leaves the
// circuit unsaved, and Save writes it again. The window's own saves go unnoticed.

#include "file/WatchedFile.h"
#include "model/Records.h"

#include <QObject>

namespace flow {

class OutsideChanges : public QObject {
  public:
    OutsideChanges(Circuit& circuit, QObject* parent);
    // Watches the circuit's file as it now is, after a read or a save of it.
    void Follow();
    // Whether another program changed the file since it was read or saved here.
    bool ChangedOutside() const { return changed_; }
    // Whether the file is gone from its name.
    bool Deleted() const { return deleted_; }

  private:
    void Look();
    void LookOnce();
    void Reload();

    Circuit& circuit_;
    WatchedFile file_;
    bool changed_ = false;
    bool deleted_ = false;
    bool looking_ = false;
    bool lookAgain_ = false;
};

// The same for a circuit through its window; false without one.
bool ChangedOutside(const Circuit& circuit);
bool FileDeletedOutside(const Circuit& circuit);

} // namespace flow
