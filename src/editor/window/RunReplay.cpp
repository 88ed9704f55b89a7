#include "editor/window/RunReplay.h"

#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/RunMarks.h"
#include "editor/window/WindowObserver.h"
#include "engine/Settling.h"
#include "model/Expansion.h"

#include <QEvent>
#include <QHash>
#include <QSet>
#include <QTimer>

namespace flow {

namespace {

ReplaySpeed& Speed() {
    static ReplaySpeed speed = ReplaySpeed::Normal;
    return speed;
}

int StepMs() {
    switch (Speed()) {
    case ReplaySpeed::Half:
        return 2 * kReplayStepMs;
    case ReplaySpeed::Double:
        return kReplayStepMs / 2;
    default:
        return kReplayStepMs;
    }
}

CarriedValue Carried(const Token& token) {
    return {token.Type, token.Value, token.Text, token.Empty};
}

// A Print's line as it printed it, if it did: a Print that received nothing printed nothing.
bool PrintedLine(const FiringRecord& firing, QString& line) {
    const Node& node = *firing.Fired;
    if (!node.Function || node.Function->Name != QStringLiteral("Print") || firing.In.empty() ||
        firing.In.front().Carried.Empty)
        return false;
    line = TokenText(firing.In.front().Carried);
    return true;
}

class Replay;

QHash<const Circuit*, Replay*>& Replays() {
    static QHash<const Circuit*, Replay*> replays;
    return replays;
}

class Replay : public QObject {
  public:
    Replay(Circuit& circuit, std::vector<FiringRecord> firings)
        : QObject(WindowOf(circuit)), circuit_(circuit), firings_(std::move(firings)) {
        CircuitWindow* window = WindowOf(circuit);
        window->OutputPanel()->ClearLines();
        window->View().Stepping.Replayed = &delivered_;
        // Any key or click ends it, and does nothing else.
        window->Canvas()->installEventFilter(this);
        window->OutputPanel()->viewport()->installEventFilter(this);
        window->installEventFilter(this);
        connect(&timer_, &QTimer::timeout, this, [this] { Step(); });
        timer_.start(StepMs());
        Step();
    }

    ~Replay() override {
        if (Replays().value(&circuit_) == this) Replays().remove(&circuit_);
    }

    void End() {
        timer_.stop();
        // The panel shows the whole run, as the run left it.
        QStringList lines;
        std::vector<Int> ids;
        for (; next_ < firings_.size(); ++next_)
            if (QString line; PrintedLine(firings_[next_], line)) {
                lines << line;
                ids.push_back(OutermostNode(const_cast<Node*>(firings_[next_].Fired))->Id);
            }
        if (!lines.isEmpty()) AppendOutputLines(circuit_, lines, ids);
        if (CircuitWindow* window = WindowOf(circuit_)) {
            window->View().Stepping.Replayed = nullptr;
            window->View().Stepping.Lit = nullptr;
        }
        RedrawCircuit(circuit_);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress ||
            type == QEvent::ShortcutOverride) {
            EndReplay(circuit_);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void Step() {
        if (next_ >= firings_.size()) {
            EndReplay(circuit_);
            return;
        }
        const FiringRecord& firing = firings_[next_++];
        const Node& node = *firing.Fired;
        for (const FiringRecord::Value& out : firing.Out)
            if (out.Port < node.PortArray.size())
                for (const Port* target : node.PortArray[out.Port]->Targets)
                    delivered_[target] = Carried(out.Carried);
        if (QString line; PrintedLine(firing, line))
            AppendOutputLines(circuit_, {line}, {OutermostNode(const_cast<Node*>(&node))->Id});
        if (CircuitWindow* window = WindowOf(circuit_)) window->View().Stepping.Lit = &node;
        RedrawCircuit(circuit_);
    }

    Circuit& circuit_;
    std::vector<FiringRecord> firings_;
    std::size_t next_ = 0;
    QHash<const Port*, CarriedValue> delivered_;
    QTimer timer_;
};

// Circuits whose Replay waits for the run it asked for.
QSet<const Circuit*>& Waiting() {
    static QSet<const Circuit*> waiting;
    return waiting;
}

void KeepRecordingForTimeline(Circuit& circuit) {
    const CircuitWindow* window = WindowOf(circuit);
    SessionOf(circuit).Watch.SetRecording(window && window->TimelineShown());
}

void Play(Circuit& circuit) {
    RunSession& session = SessionOf(circuit);
    const FiringRecorder& recorder = session.Watch.Recorder();
    std::vector<FiringRecord> firings = recorder.Firings();
    if (firings.empty() || !WindowOf(circuit)) return;
    Replays().insert(&circuit, new Replay(circuit, std::move(firings)));
}

} // namespace

ReplaySpeed CurrentReplaySpeed() {
    return Speed();
}

void SetReplaySpeed(ReplaySpeed speed) {
    Speed() = speed;
}

void ReplayLatestRun(Circuit& circuit) {
    EndReplay(circuit);
    RunSession& session = SessionOf(circuit);
    const bool recorded =
        session.RunNumber != 0 && session.Watch.Recorder().RunNumber() == session.RunNumber &&
        !session.Watch.Recorder().Firings().empty() && HasSettled(session, OutlookOf(session));
    if (recorded) {
        Play(circuit);
        return;
    }
    // Recorded for this replay; the recording stops with the run unless the timeline shows.
    session.Watch.SetRecording(true);
    Waiting().insert(&circuit);
    StartRun(circuit, SeedChoice::Repeat);
    if (session.State() == RunState::Defect) {
        Waiting().remove(&circuit);
        KeepRecordingForTimeline(circuit);
    }
}

bool Replaying(const Circuit& circuit) {
    return Replays().contains(&circuit);
}

void EndReplay(Circuit& circuit) {
    Replay* replay = Replays().take(&circuit);
    if (!replay) return;
    replay->End();
    replay->deleteLater();
}

void OnReplayRunSettled(Circuit& circuit) {
    if (!Waiting().remove(&circuit)) return;
    KeepRecordingForTimeline(circuit);
    Play(circuit);
}

} // namespace flow
