// Values computed through the C library's sine and cosine. glibc's are correctly rounded, so
// they are compared to the bit; the MinGW runtime's x87 sine near pi is a few units in the last
// place off, and there they may differ by that much.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/fake/CallLog.h"

inline void ExpectLibmValue(double actual, double expected) {
#ifdef _WIN32
    EXPECT_NEAR(actual, expected, 1e-15);
#else
    EXPECT_EQ(actual, expected);
#endif
}

inline void ExpectLibmValues(const std::vector<double>& actual,
                             const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectLibmValue(actual[i], expected[i]);
    }
}

using ExpectedCall = std::pair<std::string, std::vector<double>>;

// `calls` are exactly `expected`, in order, with their numbers.
inline void ExpectCalls(const std::vector<fake::Call>& calls,
                        const std::vector<ExpectedCall>& expected) {
    std::vector<std::string> names, expectedNames;
    for (const fake::Call& call : calls) {
        names.push_back(call.name);
    }
    for (const ExpectedCall& call : expected) {
        expectedNames.push_back(call.first);
    }
    ASSERT_EQ(names, expectedNames);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(calls[i].name + " at " + std::to_string(i));
        ExpectLibmValues(calls[i].args, expected[i].second);
    }
}
