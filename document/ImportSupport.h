// What the two importers share (DINOloket files in Import.cpp, spreadsheet
// files in SpreadsheetImport.cpp): the starting model of a file without a
// model and the wording of a text that is not a number.
#pragma once

#include <string>
#include <string_view>

class TResondixData;

// Gives document the three-layer starting model made from its measurements
// (resistivities first, their mean and last apparent resistivity; depths a
// third and two thirds of endSpacing), notes it in Remarks and shows the
// warning that the file held no model.
void MakeStartingModel(TResondixData& document, double endSpacing);

// "'<text>' is not a valid floating point value", a long text cut to its
// beginning.
std::string NotANumber(std::string_view text);
