#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "AutoHandle.h"

// This test executable started again as a child that takes something,
// tells the parent it holds it, and keeps it until the parent lets go.
class HeldChild {
public:
    // Starts "--cx-child <name> <args...> <ready event> <release event>".
    HeldChild(const std::string& name, const std::vector<std::string>& args);
    ~HeldChild();

    // Whether the child said it holds what it took, within 30 s.
    bool ready() const;
    // Lets the child go and answers its exit code (99 when it did not end).
    DWORD release();

    // Child side: the last two arguments name the events. Signals ready and
    // waits to be released; false when the events cannot be opened.
    static bool holdUntilReleased(const std::vector<std::string>& args);

private:
    UniqueHandle readyEvent_;
    UniqueHandle releaseEvent_;
    UniqueHandle process_;
};
