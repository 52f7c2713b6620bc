// Why a file cannot serve as a 3DS model, told before the reader walks it. The reader itself
// goes through anything and keeps what it finds; this check lets the programs say why a model
// is missing or empty instead of showing nothing without a word.
#pragma once

#include <optional>
#include <string>

struct ModelFileProblem {
    enum class Kind {
        CannotOpen,   // missing or unreadable: the reason is the system's
        NotA3dsModel  // a directory, or a file that does not begin with the main chunk
    };
    Kind kind;
    std::string reason;  // one line, without the file name
};

// Nothing when `path` names a file that opens and begins with the main chunk's identifier.
std::optional<ModelFileProblem> CheckModelFile(const std::string& path);

// One line naming the file and the problem: "cannot open F: REASON" or
// "F is not a 3DS model: REASON".
std::string DescribeModelFileProblem(const std::string& path, const ModelFileProblem& problem);
