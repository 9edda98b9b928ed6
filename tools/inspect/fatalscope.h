// Fatal reports inside the inspector throw FatalReport instead of ending the process, so a
// command can print the report and exit with its own code, and validate can go on to the next
// file. The previous handler comes back when the scope ends.
#pragma once

#include <stdexcept>
#include <string>

#include "base/assert.h"

struct FatalReport : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class FatalScope {
public:
    FatalScope() : m_previous(SetFatalHandler(Throw)) {}
    ~FatalScope() { SetFatalHandler(m_previous); }
    FatalScope(const FatalScope&) = delete;
    FatalScope& operator=(const FatalScope&) = delete;

private:
    static void Throw(const std::string& message) { throw FatalReport(message); }
    FatalHandler m_previous;
};
