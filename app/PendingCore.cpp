// TEMPORARY: link placeholder for the import, which the import branch
// defines. Removed when that branch is merged.
#include "Messages.h"
#include "ResondixData.h"

bool TResondixData::ImportDinoloket() {
  ShowMessage(TMessageKind::Error, "The import is not available in this build.");
  return false;
}
