#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// A message box the code under test asked for, as UTF-8.
struct RecordedMessageBox {
    std::string text;
    std::string title;
    UINT type;
    bool owned;
};

// Stands in for MessageBoxW: records the box and answers
// recordedMessageBoxAnswer() (IDOK unless a test changes it).
int WINAPI recordMessageBox(HWND owner, LPCWSTR text, LPCWSTR title, UINT type);
int& recordedMessageBoxAnswer();

// The boxes recorded since the last clear.
std::vector<RecordedMessageBox>& recordedMessageBoxes();

} // namespace testsupport
