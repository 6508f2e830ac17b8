// The soundings of a survey as the resistivity section draws them, for the
// commands that draw one (section, report): each sounding's column (its name,
// layer model and RMSE) and its place along the profile.
#pragma once

#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "chart/PictureWriter.h"
#include "chart/SectionDrawing.h"
#include "cli/CliSupport.h"
#include "engine/ForwardModel.h"

class TResondixData;

// What the commands take alike: input files, then the output picture, whose
// extension names its format; --forward, and --fit with its unknowns or,
// where the command takes them, --auto [N] and --error.
struct TSurveyJob {
  std::vector<std::string> Inputs;
  std::string Output;
  TPictureFormat Format = TPictureFormat::Png;
  TForwardModel Forward = TForwardModel::Filter;
  bool Fit = false;
  TUnknownList Unknowns;
  TAutomaticRequest Automatic;
};

// Parses arguments with valueOptions (--fit and --forward among them, and
// --auto and --error for a command that takes them) into job, the rest of
// the options left in parsed for command; false, with a message, for
// anything it refuses.
bool ParseSurveyJob(const std::vector<std::string>& arguments, std::initializer_list<std::string_view> valueOptions,
                    const std::string& command, TSurveyJob& job, TArguments& parsed);

// Loads path into document for job's forward model, fitted as job asks
// (LoadSounding, LoadSoundingAutomatic); false, with the reason in error,
// when it could not be read or fitted.
bool LoadSurveyDocument(const TSurveyJob& job, const std::string& path, TResondixData& document, std::string& error);

// The order of the soundings along the profile: the files' order, or
// increasing x or y of their positions.
enum class TProfileOrder { File, X, Y };

struct TSurveySounding {
  std::string Path;
  bool Read = false;  // read, with a complete model
  std::string Error;
  bool HasPosition = false;
  double X = 0;
  double Y = 0;
  double FitStatus = NAN;  // when fitted
  TSectionColumn Column;
};

// Takes sounding's column and position from document, read from its Path;
// false, with the reason reported and in Error, when the model is not
// complete.
bool TakeSurveySounding(TSurveySounding& sounding, TResondixData& document);

// The soundings read, in profile order, with their distances in their
// columns: along the line through the positions when every one has a
// position "X, Y = x, y", the first at 0; otherwise evenly spaced in file
// order (distancesKnown false), which only the files' order may ask for.
// False (message reported) when the order asks for positions that are
// missing.
bool PlaceSoundings(TProfileOrder order, std::vector<TSurveySounding>& soundings,
                    std::vector<TSurveySounding*>& placed, bool& distancesKnown);
