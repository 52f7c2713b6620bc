#include "platform/fake/CallLog.h"

#include <utility>

namespace fake {

std::vector<Call>& CallLog() {
    static std::vector<Call> log;
    return log;
}

void Record(const std::string& name, std::vector<double> args, std::string text) {
    CallLog().push_back(Call{name, std::move(args), std::move(text)});
}

std::vector<Call> CallsNamed(const std::string& name) {
    std::vector<Call> calls;
    for (const Call& call : CallLog()) {
        if (call.name == name) {
            calls.push_back(call);
        }
    }
    return calls;
}

int IndexOf(const std::string& name, int from) {
    const std::vector<Call>& log = CallLog();
    for (int i = from < 0 ? 0 : from; i < static_cast<int>(log.size()); ++i) {
        if (log[i].name == name) {
            return i;
        }
    }
    return -1;
}

}  // namespace fake
