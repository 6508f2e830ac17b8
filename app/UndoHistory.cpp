#include "app/UndoHistory.h"

#include <QScopeGuard>
#include <QUndoCommand>
#include <algorithm>
#include <utility>

namespace {

// The id of the steps that may join the step before them.
constexpr int BoxStepId = 1;

using TState = TUndoHistory::TState;

// The annotation box that a step added or changed, when that is all it did:
// its index; -1 otherwise.
int ChangedBox(const TState& before, const TState& after) {
  TDocumentSnapshot rest = after.Document;
  rest.Annotations = before.Document.Annotations;
  if (rest != before.Document || !(before.View == after.View)) return -1;
  const std::vector<TAnnotation>& a = *before.Document.Annotations;
  const std::vector<TAnnotation>& b = *after.Document.Annotations;
  if (b.size() == a.size() + 1 && std::equal(a.begin(), a.end(), b.begin())) return static_cast<int>(a.size());
  if (b.size() != a.size()) return -1;
  int box = -1;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    if (box >= 0) return -1;
    box = static_cast<int>(i);
  }
  return box;
}

// One step: the state before the user's command and the state after it.
class TSnapshotStep final : public QUndoCommand {
public:
  TSnapshotStep(TUndoHistory& history, const QString& name, TState before, TState after, int session)
      : QUndoCommand(name),
        History(history),
        Before(std::move(before)),
        After(std::move(after)),
        Box(ChangedBox(Before, After)),
        AddsBox(Box >= 0 && Before.Document.Annotations->size() != After.Document.Annotations->size()),
        Session(session) {}

  void undo() override { History.Restore(After, Before, History.Stack().cleanIndex() == Position()); }

  void redo() override {
    // The stack runs redo when the step is pushed, just after the command
    // itself did what it does.
    if (std::exchange(Pushing, false)) return;
    History.Restore(Before, After, History.Stack().cleanIndex() == Position() + 1);
  }

  int id() const override { return Box >= 0 ? BoxStepId : -1; }

  // A box's next change joins this step within one edit session; a new box
  // starts a step of its own.
  bool mergeWith(const QUndoCommand* other) override {
    const auto& next = static_cast<const TSnapshotStep&>(*other);
    if (next.Box != Box || next.Session != Session || next.AddsBox) return false;
    After = next.After;
    // Typed and taken back again: nothing is left to undo.
    setObsolete(Before == After);
    return true;
  }

private:
  // The number of steps before this one on the stack: the state before it.
  int Position() const {
    const QUndoStack& stack = History.Stack();
    for (int i = 0; i < stack.count(); ++i)
      if (stack.command(i) == this) return i;
    return -1;
  }

  TUndoHistory& History;
  TState Before;
  TState After;
  int Box;
  bool AddsBox;
  int Session;
  bool Pushing = true;
};

}  // namespace

TUndoHistory::TUndoHistory(TResondixData& document) : Document(document) {
  UndoStack.setUndoLimit(MaxSteps);
  Document.OnStep = [this](const std::string& name, const std::function<void()>& command) { Record(name, command); };
}

TUndoHistory::~TUndoHistory() { Document.OnStep = nullptr; }

TUndoHistory::TState TUndoHistory::Capture() {
  Latest = Document.Snapshot(&Latest);
  return {Latest, CaptureView ? CaptureView() : TViewState()};
}

void TUndoHistory::Record(const std::string& name, const std::function<void()>& command) {
  if (Busy) {
    command();
    return;
  }
  TState before;
  TState after;
  {
    Busy = true;
    const auto done = qScopeGuard([this] { Busy = false; });
    before = Capture();
    command();
    after = Capture();
  }
  if (before == after) return;
  UndoStack.push(new TSnapshotStep(*this, QString::fromStdString(name), std::move(before), std::move(after), Session));
}

void TUndoHistory::Restore(const TState& from, const TState& to, bool saved) {
  Busy = true;
  const auto done = qScopeGuard([this] { Busy = false; });
  Document.Restore(from.Document, to.Document, saved);
  Latest = to.Document;
  if (ShowView) ShowView(from.View, to.View);
}

void TUndoHistory::Restart() {
  UndoStack.clear();
  EndSession();
}

void TUndoHistory::MarkSaved() { UndoStack.setClean(); }

void TUndoHistory::EndSession() { ++Session; }
