// The recorded calls as text, and values computed through the C library's sine and cosine.
// glibc's are correctly rounded, so they are compared to the bit; the MinGW runtime's x87 sine
// near pi is a few units in the last place off, and there they may differ by that much.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "platform/fake/CallLog.h"

using Lines = std::vector<std::string>;

// "name args text": whole numbers exactly, others to six digits, which the last few units in the
// last place do not change.
inline std::string CallLine(const std::string& name, const std::vector<double>& args,
                            const std::string& text = {}) {
    std::ostringstream line;
    line << name;
    for (double arg : args) {
        line << ' ';
        if (arg == std::trunc(arg) && std::abs(arg) < 1e15) {
            line << static_cast<long long>(arg);
        } else {
            line << arg;
        }
    }
    line << (text.empty() ? "" : " ") << text;
    return line.str();
}

inline Lines LoggedCalls() {
    Lines lines;
    for (const fake::Call& call : fake::CallLog()) {
        lines.push_back(CallLine(call.name, call.args, call.text));
    }
    return lines;
}

#ifdef _WIN32
constexpr double kLibmTolerance = 1e-15;
#else
constexpr double kLibmTolerance = 0.0;
#endif

inline void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                       double tolerance = kLibmTolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "value " << i;
    }
}
