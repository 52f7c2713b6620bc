// The length unit of a model's coordinates, for walking through it at a person's scale: the
// unit a user names (--units m|cm|mm|in|ft), or a stated guess from the model's size. Pure:
// no GL, no platform.
#pragma once

#include <optional>
#include <string>

enum class LengthUnit { kMetre, kCentimetre, kMillimetre, kInch, kFoot };

// "m", "cm", "mm", "in" or "ft", exactly; nothing for anything else.
std::optional<LengthUnit> ParseLengthUnit(const std::string& text);
const char* LengthUnitName(LengthUnit unit);
double MetresPer(LengthUnit unit);

// A guess and why, in one line for the user.
struct UnitGuess {
    LengthUnit unit = LengthUnit::kMetre;
    std::string reason;
};

// Guesses from the longest side of the model's box as drawn (the file's coordinates times its
// master scale, so a master scale that converts the file to metres is taken into account): a
// building or a town is walked through, from a few metres to a kilometre across. Up to 1,000
// units is read as metres, up to 10,000 as centimetres (10 to 100 m), more as millimetres
// (over 10 m). Inches and feet are never guessed: a house in feet reads as one in metres.
UnitGuess GuessLengthUnit(double longestSide, float masterScale);
