// TUndoHistory: Edit > Undo and Redo of the main window.
//
// Every change of the sounding that a user makes is one step on a
// QUndoStack: the document's RunStep hands the command here, which takes the
// state before it, runs it and takes the state after it, and keeps the step
// when the two differ. A state is the document's snapshot (Snapshot.h) and
// what the window shows beside it that a step can change: the texts of the
// two grids (Cut and Clear empty cells without touching the document) and
// the window's title (an import shows the imported file). Undo and redo put
// back the state of one side of a step through the document's Restore,
// which raises the document's change notification, so that every view
// follows, and then the view state through ShowView.
//
// Changes of one chart annotation that follow each other (the keys typed
// into a box, the moves of a drag) join into the step that began them, until
// EndSession says the box's edit session is over.
//
// The saved state is the stack's clean state: New, Open and Reopen start a
// fresh history at a clean state, a save makes the current state the clean
// one. Undo or redo to the clean state makes the document saved again, to
// any other state unsaved.
//
// The history holds at most MaxSteps steps of two states each. A state is a
// copy of fixed arrays and a few texts (about 4 KB); the annotations are
// shared between the states that have the same, so the history holds at
// most MaxSteps + 1 lists of them.
#pragma once

#include <QString>
#include <QStringList>
#include <QUndoStack>
#include <functional>
#include <string>

#include "document/Snapshot.h"

// What the window shows beside the document that a step can change.
struct TViewState {
  QStringList MeasurementTexts;
  QStringList ModelTexts;
  QString Title;

  friend bool operator==(const TViewState& a, const TViewState& b) {
    return a.MeasurementTexts == b.MeasurementTexts && a.ModelTexts == b.ModelTexts && a.Title == b.Title;
  }
};

class TUndoHistory {
public:
  static constexpr int MaxSteps = 100;

  // Installs itself as document's OnStep for as long as it lives.
  explicit TUndoHistory(TResondixData& document);
  ~TUndoHistory();
  TUndoHistory(const TUndoHistory&) = delete;
  TUndoHistory& operator=(const TUndoHistory&) = delete;

  // The window's view state now, and showing one back: from is the state
  // being left, to the one restored.
  std::function<TViewState()> CaptureView;
  std::function<void(const TViewState& from, const TViewState& to)> ShowView;

  // The stack the Undo and Redo actions act on.
  QUndoStack& Stack() { return UndoStack; }

  // Runs command as the step name; a command run inside another step, or
  // while a step is put back, belongs to that one.
  void Record(const std::string& name, const std::function<void()>& command);
  // New, Open, Reopen: no steps, and the document as it is now is saved.
  void Restart();
  // The document was saved as it is now.
  void MarkSaved();
  // The edit session of an annotation box ended (the box lost the focus):
  // its next change is a step of its own.
  void EndSession();

  // A state of the window: the document and the views beside it.
  struct TState {
    TDocumentSnapshot Document;
    TViewState View;

    friend bool operator==(const TState& a, const TState& b) { return a.Document == b.Document && a.View == b.View; }
  };

  // Puts back to, leaving from; the document ends saved or not.
  void Restore(const TState& from, const TState& to, bool saved);

private:
  TState Capture();

  TResondixData& Document;
  QUndoStack UndoStack;
  // The latest state taken or put back, whose annotations the next state
  // shares when they are the same.
  TDocumentSnapshot Latest;
  int Session = 0;
  // A step is being recorded or put back.
  bool Busy = false;
};
