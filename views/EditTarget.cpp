#include "views/EditTarget.h"

#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// The standard requests of a text edit control; Clear removes the selected
// text only.
template <class TControl>
class TTextControlTarget final : public TEditTarget {
public:
  void Attach(TControl* control) { Control = control; }
  void CopySelection() override { Control->copy(); }
  void SelectAll() override { Control->selectAll(); }
  void CutSelection() override { Control->cut(); }
  void PasteFromClipboard() override { Control->paste(); }
  void ClearSelection() override { Control->textCursor().removeSelectedText(); }

private:
  TControl* Control = nullptr;
};

// One adapter per kind of control serves whichever has the focus: the
// commands run at once, before the focus can move on.
template <class TControl>
TEditTarget* TextControlTarget(TControl* control) {
  static TTextControlTarget<TControl> target;
  target.Attach(control);
  return &target;
}

}  // namespace

TEditTarget* EditTargetOf(QWidget* widget) {
  if (auto* target = dynamic_cast<TEditTarget*>(widget)) return target;
  if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) return TextControlTarget(text);
  if (auto* text = qobject_cast<QTextEdit*>(widget)) return TextControlTarget(text);
  return nullptr;
}
