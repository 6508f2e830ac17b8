// TEMPORARY: link placeholders for the document operations that the engine
// and import branches define. Removed when those branches are merged.
#include "Messages.h"
#include "ResondixData.h"

void TResondixData::Fit() {
  ShowMessage(TMessageKind::Error, "The fit is not available in this build.");
  FitSucceeded = false;
}

bool TResondixData::ImportDinoloket() {
  ShowMessage(TMessageKind::Error, "The import is not available in this build.");
  return false;
}
