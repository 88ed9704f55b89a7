#include "editor/window/RecoveryOffer.h"

#include "editor/history/History.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/RecoveryCopy.h"
#include "file/CircuitReader.h"
#include "file/QueuedFileWork.h"
#include "file/RecoveryCopies.h"

#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QUndoStack>

#include <memory>

namespace flow {

namespace {

enum class Choice { Restore, Discard, Later };

QString Describe(const LeftCopy& copy) {
    const QString name =
        copy.Source.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(copy.Source).fileName();
    const QString when = QLocale().toString(copy.WrittenAt, QLocale::ShortFormat);
    return copy.Source.isEmpty() ? QStringLiteral("%1, kept %2").arg(name, when)
                                 : QStringLiteral("%1 (%2), kept %3").arg(name, copy.Source, when);
}

Choice Ask(QWidget* parent, const std::vector<LeftCopy>& copies) {
    QStringList lines;
    for (const LeftCopy& copy : copies)
        lines << Describe(copy);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Recover Circuits"),
                    copies.size() == 1
                        ? QStringLiteral("Flowlattice ended before this circuit was saved:")
                        : QStringLiteral("Flowlattice ended before these circuits were saved:"),
                    QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(lines.join(QLatin1Char('\n')) +
                           QStringLiteral("\n\nRestore opens the unsaved changes as recovered "
                                          "circuits; Save then asks where to write each."));
    QPushButton* restore = box.addButton(QStringLiteral("Restore"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(QStringLiteral("Later"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore) return Choice::Restore;
    return box.clickedButton() == discard ? Choice::Discard : Choice::Later;
}

Circuit* Restore(const LeftCopy& copy) {
    ReadLosses losses;
    Circuit* restored = LoadCircuit(copy.CopyPath, losses);
    if (!restored) return nullptr;
    // Bound to no file, so that Save asks; offered the file it came from.
    restored->RecoveredFrom = copy.Source;
    OpenCircuitWindow(*restored);
    CircuitWindow* window = WindowOf(*restored);
    // Unsaved, even when it came from no file.
    window->History()->resetClean();
    // A copy of this program's own, before the old one goes.
    window->Recovery()->WriteNow();
    return restored;
}

} // namespace

std::vector<Circuit*> OfferLeftCopies(QWidget* parent) {
    std::shared_ptr<LeftCopies> left = FindLeftCopies();
    if (left->Copies().empty()) return {};
    std::vector<Circuit*> restored;
    switch (Ask(parent, left->Copies())) {
    case Choice::Restore:
        for (const LeftCopy& copy : left->Copies())
            if (Circuit* circuit = Restore(copy)) restored.push_back(circuit);
        // After the new copies are written: a crash in between still leaves one of each.
        QueueFileWork([left] { left->Discard(); });
        break;
    case Choice::Discard:
        left->Discard();
        break;
    case Choice::Later:
        break;
    }
    return restored;
}

} // namespace flow
