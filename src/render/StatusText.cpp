#include "render/StatusText.h"

#include <QLabel>
#include <QStatusBar>

namespace flow {

namespace {
// The editor names the field labels "StatusField0" to "StatusField2" under the status bar.
QLabel* Field(const Circuit& circuit, int field) {
    if (!circuit.StatusLine) return nullptr;
    return circuit.StatusLine->findChild<QLabel*>(QStringLiteral("StatusField%1").arg(field));
}
constexpr int kNoticeMilliseconds = 6000;
} // namespace

void SetStatusText(Circuit& circuit, int field, const QString& text) {
    if (QLabel* label = Field(circuit, field)) label->setText(text);
}

QString StatusText(const Circuit& circuit, int field) {
    QLabel* label = Field(circuit, field);
    return label ? label->text() : QString();
}

void ShowStatusNotice(Circuit& circuit, const QString& text) {
    if (auto* bar = qobject_cast<QStatusBar*>(circuit.StatusLine))
        bar->showMessage(text, kNoticeMilliseconds);
}

QString StatusNotice(const Circuit& circuit) {
    const auto* bar = qobject_cast<const QStatusBar*>(circuit.StatusLine);
    return bar ? bar->currentMessage() : QString();
}

} // namespace flow
