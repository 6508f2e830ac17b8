// TEditTarget: what the Edit commands (Cut, Copy, Paste, Clear, Select All)
// act on: an editing grid of the main window, a grid of a result window or a
// chart annotation in edit. The main window finds the target with the
// focus and sends it the command; a read-only target takes only Copy and
// Select All.
#pragma once

class QWidget;

class TEditTarget {
public:
  virtual ~TEditTarget() = default;

  virtual void CopySelection() = 0;
  virtual void SelectAll() = 0;
  // An editable target changes; a read-only one leaves these as they are.
  virtual void CutSelection() {}
  virtual void PasteFromClipboard() {}
  virtual void ClearSelection() {}
};

// The target that widget is, or none: a grid that is a TEditTarget, or a
// text edit control (a chart annotation), which gets the standard edit
// requests.
TEditTarget* EditTargetOf(QWidget* widget);
