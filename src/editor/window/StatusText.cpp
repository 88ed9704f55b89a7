#include "editor/window/StatusText.h"

#include "editor/canvas/OpenViews.h"

#include <QLabel>
#include <QStatusBar>

namespace flow {

namespace {
QLabel* Field(const Circuit& circuit, StatusField field) {
    const CircuitView* view = ViewOf(circuit);
    return view ? qobject_cast<QLabel*>(view->StatusFields[std::size_t(field)]) : nullptr;
}

QStatusBar* Bar(const Circuit& circuit) {
    const CircuitView* view = ViewOf(circuit);
    return view ? qobject_cast<QStatusBar*>(view->StatusLine) : nullptr;
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
    if (QStatusBar* bar = Bar(circuit)) bar->showMessage(text, kNoticeMilliseconds);
}

QString StatusNotice(const Circuit& circuit) {
    const QStatusBar* bar = Bar(circuit);
    return bar ? bar->currentMessage() : QString();
}

} // namespace flow
