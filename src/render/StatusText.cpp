#include "render/StatusText.h"

#include <QLabel>
#include <QStatusBar>

namespace flow {

namespace {
QLabel* Field(const Circuit& circuit, StatusField field) {
    return qobject_cast<QLabel*>(circuit.StatusFields[std::size_t(field)]);
}
constexpr int kNoticeMilliseconds = 6000;
} // namespace

void SetStatusText(Circuit& circuit, StatusField field, const QString& text) {
    if (QLabel* label = Field(circuit, field)) label->setText(text);
}

QString StatusText(const Circuit& circuit, StatusField field) {
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
