#include "MessageBoxRecorder.h"

#include "tstrings.h"

namespace testsupport {

int WINAPI recordMessageBox(HWND owner, LPCWSTR text, LPCWSTR title, UINT type) {
    recordedMessageBoxes().push_back(
        {tstrings::toUtf8(text), tstrings::toUtf8(title), type, owner != nullptr});
    return recordedMessageBoxAnswer();
}

int& recordedMessageBoxAnswer() {
    static int answer = IDOK;
    return answer;
}

std::vector<RecordedMessageBox>& recordedMessageBoxes() {
    static std::vector<RecordedMessageBox> boxes;
    return boxes;
}

} // namespace testsupport
