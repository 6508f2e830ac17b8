// The --unknowns option of the commands that fit ("all", or the names rho1
// to rho4 and depth1 to depth3 separated by commas), and the fit of a file
// with them.
#pragma once

#include <string>
#include <vector>

class TResondixData;

struct TNamedUnknown {
  bool IsDepth;
  int Layer;
  std::string Name;  // as given, for messages
};

// An empty list names no unknown (the fit then refuses).
struct TUnknownList {
  bool All = false;
  std::vector<TNamedUnknown> Named;
};

// False, with a message on standard error, for a name that is none of the
// above.
bool ParseUnknownList(const std::string& list, TUnknownList& unknowns);

// Sets the unknown flags of the document as the model grid's check boxes
// would; false, with a message, for a layer the model does not have.
bool MarkUnknowns(TResondixData& document, const TUnknownList& unknowns, const std::string& path);

struct TArguments;
class TJsonWriter;
enum class TForwardModel;

// The list of the option --unknowns, which is required; false, with a
// message on standard error, when it is missing or names something else.
bool ReadUnknownsOption(const TArguments& arguments, TUnknownList& unknowns);

// Loads the data file path into document, marks the unknowns and fits them
// with the forward model as the window's Fit command does, with the JSON
// record of the file begun in json ({"file": path, ...). False when the file
// could not be read or fitted, its record ({"file", "error"} or {"file",
// "refused"}, with "forward") printed. A fit without a solution is reported
// on standard error, not refused.
bool LoadAndFit(const std::string& path, const TUnknownList& unknowns, TForwardModel model, TResondixData& document,
                TJsonWriter& json);
