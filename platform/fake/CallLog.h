// One ordered record of everything the tests' stand-ins were asked to do: the fake platform
// and the GL recorder both append here, so a test sees platform and GL calls interleaved as
// they happened.
#pragma once

#include <string>
#include <vector>

namespace fake {

struct Call {
    std::string name;
    std::vector<double> args;  // numbers as passed (floats widened exactly)
    std::string text;          // a string argument, where the call has one
};

std::vector<Call>& CallLog();
void Record(const std::string& name, std::vector<double> args = {}, std::string text = {});

// The calls named `name`, in order.
std::vector<Call> CallsNamed(const std::string& name);
// The position of the first call named `name` at or after `from`, or -1.
int IndexOf(const std::string& name, int from = 0);

}  // namespace fake
