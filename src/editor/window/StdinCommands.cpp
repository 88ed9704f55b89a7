#include "editor/window/StdinCommands.h"

#include "editor/actions/MenuCommands.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/RecoveryCopy.h"
#include "model/Model.h"

#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace flow {

namespace {

Circuit* NewestShown() {
    for (auto circuit = Circuits().rbegin(); circuit != Circuits().rend(); ++circuit)
        if (WindowOf(**circuit)) return circuit->get();
    return nullptr;
}

void Carry(const QByteArray& line) {
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.value(0) == "write-recovery") {
        WriteRecoveryCopiesNow();
        std::fputs("recovery written\n", stdout);
        std::fflush(stdout);
    } else if (words.value(0) == "menu" && words.size() == 2) {
        bool number = false;
        const int id = words[1].toInt(&number);
        if (Circuit* circuit = NewestShown(); circuit && number) OnMenu(*circuit, id);
    }
}

} // namespace

void ListenToStdinCommands(QObject* parent) {
    if (qEnvironmentVariableIsEmpty("FLOWLATTICE_STDIN_COMMANDS")) return;
    auto* notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [notifier, pending = QByteArray()]() mutable {
                         char chunk[256];
                         const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
                         if (got <= 0) {
                             notifier->setEnabled(false);
                             return;
                         }
                         pending.append(chunk, got);
                         for (qsizetype end; (end = pending.indexOf('\n')) >= 0;) {
                             const QByteArray line = pending.left(end);
                             pending.remove(0, end + 1);
                             Carry(line);
                         }
                     });
}

} // namespace flow
