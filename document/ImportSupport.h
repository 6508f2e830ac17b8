// What the two importers share (DINOloket files in Import.cpp, spreadsheet
// files in SpreadsheetImport.cpp): the counts of what a file holds, the
// starting model of a file without a model, the refusal of UTF-16 text and
// the wording of a text that is not a number.
#pragma once

#include <string>
#include <string_view>

class TResondixData;

// How many measurements and layers a file holds, those beyond the
// document's capacities included.
struct TFileCounts {
  long long Measurements = 0;
  long long Layers = 0;
};

// Gives document the three-layer starting model made from its measurements
// (resistivities first, their mean and last apparent resistivity; depths a
// third and two thirds of endSpacing), notes it in Remarks and shows the
// warning that the file held no model.
void MakeStartingModel(TResondixData& document, double endSpacing);

// The refusal of a file that starts like UTF-16 text: read as 8-bit text it
// would fail somewhere on its NUL bytes with a message that names none of
// its causes.
std::string Utf16ImportRefusal(const std::string& fileName);

// "'<text>' is not a valid floating point value", a long text cut to its
// beginning.
std::string NotANumber(std::string_view text);
