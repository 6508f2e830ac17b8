// The sounding's position line (SoundingPosition) "X, Y = x, y": written
// by the importers and the survey generator, read by the survey commands.
#pragma once

#include <string>
#include <string_view>

// "X, Y = " followed by the coordinates as they stand ("234512, 556780").
std::string PositionText(std::string_view coordinates);

// The position X, Y of a line that reads "X, Y = x, y" (anything after y is
// passed over, such as the coordinate system and the height of an imported
// sounding); false for any other text.
bool ParsePosition(std::string_view text, double& x, double& y);
