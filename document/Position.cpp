#include "document/Position.h"

#include <algorithm>

#include "document/NumberText.h"

namespace {

// What starts every position line; the blank after "=" is optional when it
// is read.
constexpr std::string_view PositionPrefix = "X, Y =";

}  // namespace

std::string PositionText(std::string_view coordinates) {
  return std::string(PositionPrefix) + " " + std::string(coordinates);
}

bool ParsePosition(std::string_view text, double& x, double& y) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos || text.compare(start, PositionPrefix.size(), PositionPrefix) != 0) return false;
  text.remove_prefix(start + PositionPrefix.size());
  // x and y are separated by a comma, a semicolon or blanks.
  const std::size_t xStart = text.find_first_not_of(' ');
  if (xStart == std::string_view::npos) return false;
  const std::size_t xEnd = text.find_first_of(" ,;", xStart);
  if (xEnd == std::string_view::npos) return false;
  const std::size_t yStart = text.find_first_not_of(" ,;", xEnd);
  if (yStart == std::string_view::npos || text.substr(xEnd, yStart - xEnd).find_first_of(",;") !=
                                              text.substr(xEnd, yStart - xEnd).find_last_of(",;"))
    return false;
  const std::size_t yEnd = std::min(text.find_first_of(" ,;(", yStart), text.size());
  const auto parsedX = StrToFloatDot(text.substr(xStart, xEnd - xStart));
  const auto parsedY = StrToFloatDot(text.substr(yStart, yEnd - yStart));
  if (!parsedX || !parsedY) return false;
  x = *parsedX;
  y = *parsedY;
  return true;
}
