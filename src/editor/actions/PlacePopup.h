#pragma once
// Type to place: a small popup with a search field over the list of functions whose name holds
// the text. Typing a letter at the canvas (or Tab) opens it at the pointer; so does a wire let
// go over empty canvas, which lists only the functions it could be wired to. The list is made
// from the catalogue, never kept by hand.

#include "model/Records.h"

#include <QFrame>
#include <QPoint>

#include <vector>

class QLineEdit;
class QListWidget;

namespace flow {

// A function the popup offers, with the implementation a node of it starts with: functions
// without inputs (constants) are offered once per implementation, since nothing wired into
// them could choose their type; the others start unresolved, as the add-node menu's do.
struct PlaceChoice {
    QString Label;
    FunctionDef* Function = nullptr;
    flow::Implementation* Implementation = nullptr;
    QString Description; // what the function does, shown beside the label
};

// Every function that can run (Random, which has no implementation, cannot), in catalogue
// order, then, for a frame, the pins if it is a sub-circuit's body and its circuit's
// sub-circuits; with `wireFrom`, only those with a port the wire would fit once placed.
std::vector<PlaceChoice> PlaceChoices(const Port* wireFrom, const Frame* frame = nullptr);
// The choices whose label holds the text, case-insensitively: labels beginning with it first,
// each group in catalogue order.
std::vector<PlaceChoice> MatchingChoices(const std::vector<PlaceChoice>& choices,
                                         const QString& text);

class PlacePopup : public QFrame {
    Q_OBJECT
  public:
    PlacePopup(Circuit& circuit, Int x, Int y, const Port* wireFrom);
    QLineEdit* SearchField() const { return search_; }
    QListWidget* List() const { return list_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void ShowMatches();
    void PlaceCurrent();
    Port* WireSourceNow() const;

    Circuit& circuit_;
    Int x_, y_;    // the pointer in circuit units when the popup opened
    Int wireNode_; // ID of the wire's node; 0 without a wire
    int wirePort_; // its port number
    std::vector<PlaceChoice> choices_, shown_;
    QLineEdit* search_;
    QListWidget* list_;
};

// Opens the popup at a screen position for the pointer's place in the circuit, with the text
// typed so far; `wireFrom` is the wire being drawn, if any.
PlacePopup* OpenPlacePopup(Circuit& circuit, QPoint screenPosition, const QString& typed,
                           const Port* wireFrom);
// The popup while it is open; for tests.
PlacePopup* OpenedPlacePopup();

} // namespace flow
