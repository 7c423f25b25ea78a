#include "MessageText.h"

#include "tstrings.h"

std::string joinMessage(const std::string& context, const std::string& detail) {
    static const char* const kSpace = " \t\r\n\f\v";
    std::string result = tstrings::trimRight(context, kSpace);
    const std::string trimmedDetail = tstrings::trim(detail, kSpace);
    if (result.empty() || trimmedDetail.empty()) {
        return result.empty() ? trimmedDetail : result;
    }
    const char last = result.back();
    result += std::string(";.,:!?").find(last) != std::string::npos ? " " : ". ";
    return result + trimmedDetail;
}
