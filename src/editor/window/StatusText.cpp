#include "editor/window/StatusText.h"

#include "editor/canvas/OpenViews.h"

#include <QFrame>
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

// Widths of the position and run status fields; the hover field takes the rest.
constexpr int kFieldWidths[kStatusFieldCount] = {90, 200, 0};
// Room between a field's text and the line beside it.
constexpr int kFieldPadding = 6;

QFrame* FieldSeparator() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

std::array<QLabel*, kStatusFieldCount> AddStatusFields(QStatusBar& bar) {
    std::array<QLabel*, kStatusFieldCount> fields{};
    for (int i = 0; i < kStatusFieldCount; ++i) {
        auto* field = new QLabel;
        field->setContentsMargins(kFieldPadding, 0, kFieldPadding, 0);
        switch (StatusField(i)) {
        case StatusField::Position:
            field->setFixedWidth(kFieldWidths[i]);
            field->setAlignment(Qt::AlignCenter);
            break;
        case StatusField::RunStatus:
            // How a run ended may take more words than its state ("... finished: 2 nodes never
            // fired"): the field grows for them and gives the width back after.
            field->setMinimumWidth(kFieldWidths[i]);
            break;
        case StatusField::Hover:
            // Clipped where the bar ends rather than pushing the fields before it together.
            field->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            break;
        }
        if (i > 0) bar.addWidget(FieldSeparator());
        bar.addWidget(field, StatusField(i) == StatusField::Hover ? 1 : 0);
        fields[std::size_t(i)] = field;
    }
    return fields;
}

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
