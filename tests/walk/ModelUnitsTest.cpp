// The model's units: what --units takes, and the guess from the model's size.
#include <gtest/gtest.h>

#include <cmath>

#include "placement/ModelUnits.h"

namespace {

TEST(ModelUnits, ParsesTheFiveNamesAndNothingElse) {
    const struct {
        const char* text;
        double metres;  // 0: refused
    } cases[] = {{"m", 1}, {"cm", 0.01},  {"mm", 0.001}, {"in", 0.0254}, {"ft", 0.3048},
                 {"M", 0}, {"metres", 0}, {"", 0},       {"mm ", 0},     {"km", 0}};
    for (const auto& c : cases) {
        const std::optional<LengthUnit> unit = ParseLengthUnit(c.text);
        ASSERT_EQ(unit.has_value(), c.metres != 0) << c.text;
        if (unit) {
            EXPECT_EQ(MetresPer(*unit), c.metres);
            EXPECT_STREQ(LengthUnitName(*unit), c.text);
        }
    }
}

TEST(ModelUnits, GuessesFromTheSizeAndSaysWhy) {
    const struct {
        double side;
        float masterScale;
        LengthUnit unit;
        const char* said;
    } cases[] = {
        {15, 1, LengthUnit::kMetre,
         "units guessed: m (the model is 15 units across at master "
         "scale 1, 15 m in m); --units says otherwise"},
        {1000, 1, LengthUnit::kMetre, "1e+03 m"},
        {1500, 1, LengthUnit::kCentimetre, "15 m in cm"},
        {10000, 1, LengthUnit::kCentimetre, "100 m in cm"},
        {25000, 0.5f, LengthUnit::kMillimetre, "master scale 0.5, 25 m in mm"},
        {0, 1, LengthUnit::kMetre, "no size"},
        {HUGE_VAL, 1, LengthUnit::kMetre, "no size"},
    };
    for (const auto& c : cases) {
        const UnitGuess guess = GuessLengthUnit(c.side, c.masterScale);
        EXPECT_EQ(guess.unit, c.unit) << c.side;
        EXPECT_NE(guess.reason.find(c.said), std::string::npos) << guess.reason;
    }
}

}  // namespace
