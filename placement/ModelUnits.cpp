#include "placement/ModelUnits.h"

#include <cmath>
#include <cstdio>

namespace {

struct UnitRow {
    LengthUnit unit;
    const char* name;
    double metres;
};
constexpr UnitRow kUnits[] = {{LengthUnit::kMetre, "m", 1.0},
                              {LengthUnit::kCentimetre, "cm", 0.01},
                              {LengthUnit::kMillimetre, "mm", 0.001},
                              {LengthUnit::kInch, "in", 0.0254},
                              {LengthUnit::kFoot, "ft", 0.3048}};

const UnitRow& RowOf(LengthUnit unit) {
    for (const UnitRow& row : kUnits) {
        if (row.unit == unit) {
            return row;
        }
    }
    return kUnits[0];
}

}  // namespace

std::optional<LengthUnit> ParseLengthUnit(const std::string& text) {
    for (const UnitRow& row : kUnits) {
        if (text == row.name) {
            return row.unit;
        }
    }
    return std::nullopt;
}

const char* LengthUnitName(LengthUnit unit) {
    return RowOf(unit).name;
}

double MetresPer(LengthUnit unit) {
    return RowOf(unit).metres;
}

UnitGuess GuessLengthUnit(double longestSide, float masterScale) {
    UnitGuess guess;
    const bool measured = std::isfinite(longestSide) && longestSide > 0.0;
    if (measured && longestSide > 10000.0) {
        guess.unit = LengthUnit::kMillimetre;
    } else if (measured && longestSide > 1000.0) {
        guess.unit = LengthUnit::kCentimetre;
    }
    char line[200];
    if (measured) {
        std::snprintf(line, sizeof line,
                      "units guessed: %s (the model is %.4g units across at master scale %g, "
                      "%.3g m in %s); --units says otherwise",
                      LengthUnitName(guess.unit), longestSide, static_cast<double>(masterScale),
                      longestSide * MetresPer(guess.unit), LengthUnitName(guess.unit));
    } else {
        std::snprintf(line, sizeof line,
                      "units guessed: m (the model has no size to guess from); --units says "
                      "otherwise");
    }
    guess.reason = line;
    return guess;
}
