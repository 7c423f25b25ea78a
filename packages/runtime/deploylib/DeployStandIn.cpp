// Stand-in for the demo runtime's deployment library (bin\deploy.dll).
//
// It checks every request against the record layout byte by byte, so a
// caller that fills the records wrongly is caught, and answers from DWORD
// values of the steering key
//   HKCU\Software\cxroffline-tests\<process id>\deploy-stand-in
// or, when that key is missing (a whole installer run steered by a script),
//   HKCU\Software\cxroffline-deploy-stand-in
// Values (query_res of each query, or a failing call):
//   PluginStatus            query 1, default 1 (plug-in enabled)
//   PreviousDecisionsExist  query 2, default 0 (none stored)
//   ClearPreviousDecisions  query 3, default 1 (done)
//   ResetPreviousDecisions  query 4, default 1 (done)
//   SystemConfig            query 5, default 1 (done)
//   CallFails               non-zero: RegisterDeployEx returns 0
// The string value RequestLog names a file to which every request is
// appended as one UTF-8 line, "kind=<query> argument=<n> config=<text>",
// or "invalid: <reason>" for a request that breaks the layout.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

const bool k64Bit = sizeof(void*) == 8;
const int32_t kRequestSize = k64Bit ? 56 : 52;
const size_t kResultsOffset = k64Bit ? 16 : 12;
const size_t kResultSize = 32;
const size_t kQueryResOffset = 28;
const int kQueryCount = 5;
const wchar_t* const kAnswerNames[kQueryCount] = {
    L"PluginStatus", L"PreviousDecisionsExist", L"ClearPreviousDecisions",
    L"ResetPreviousDecisions", L"SystemConfig"};
const int32_t kDefaultAnswers[kQueryCount] = {1, 0, 1, 1, 1};

int32_t int32At(const void* record, size_t offset) {
    int32_t value;
    std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof(value));
    return value;
}

void* pointerAt(const void* record, size_t offset) {
    void* value;
    std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof(value));
    return value;
}

struct Request {
    int kind = 0;
    int32_t argument = 0;
    const wchar_t* configuration = nullptr;
    void* results = nullptr;
};

// Empty when the records follow the layout; the reason otherwise.
std::string check(const void* request, const void* response, Request& out) {
    if (!request || !response) return "null record";
    if (int32At(request, 0) != kRequestSize) {
        return "size " + std::to_string(int32At(request, 0));
    }
    if (int32At(request, 4) != 4) return "version " + std::to_string(int32At(request, 4));
    for (size_t offset : {8u, 12u, 16u}) {
        if (int32At(request, offset) != 0) return "reserved field at " + std::to_string(offset);
    }
    if (int32At(request, 20) != 2) return "request kind " + std::to_string(int32At(request, 20));
    for (int query = 1; query <= kQueryCount; ++query) {
        const int32_t flag = int32At(request, 20 + 4 * query);
        if (flag != 0 && flag != 1) return "query flag " + std::to_string(flag);
        if (flag == 1) {
            if (out.kind != 0) return "more than one query";
            out.kind = query;
        }
    }
    if (out.kind == 0) return "no query";
    out.argument = int32At(request, 44);
    const int32_t expectedArgument = (out.kind == 2 || out.kind == 3) ? 30 : 0;
    if (out.argument != expectedArgument) {
        return "argument " + std::to_string(out.argument) + " for query " +
               std::to_string(out.kind);
    }
    out.configuration = static_cast<const wchar_t*>(pointerAt(request, 48));
    if ((out.configuration != nullptr) != (out.kind == 5)) {
        return "configuration text for query " + std::to_string(out.kind);
    }
    if (int32At(response, 0) != 0 || int32At(response, 8) != 0) return "response reserved field";
    if (int32At(response, 4) != 1) return "result count " + std::to_string(int32At(response, 4));
    out.results = pointerAt(response, kResultsOffset);
    if (!out.results) return "no result record";
    const char* result = static_cast<const char*>(out.results);
    for (size_t i = 0; i < kResultSize; ++i) {
        if (result[i] != 0) return "result record not zero-filled";
    }
    return std::string();
}

HKEY openSteeringKey() {
    const std::wstring perProcess = L"Software\\cxroffline-tests\\" +
                                    std::to_wstring(GetCurrentProcessId()) +
                                    L"\\deploy-stand-in";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, perProcess.c_str(), 0, KEY_QUERY_VALUE, &key) ==
        ERROR_SUCCESS) {
        return key;
    }
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\cxroffline-deploy-stand-in", 0,
                      KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        return key;
    }
    return nullptr;
}

int32_t readNumber(HKEY key, const wchar_t* name, int32_t fallback) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (key && RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(value)) {
        return static_cast<int32_t>(value);
    }
    return fallback;
}

std::wstring readText(HKEY key, const wchar_t* name) {
    wchar_t buffer[MAX_PATH] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (key && RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        return buffer;
    }
    return std::wstring();
}

std::string utf8(const wchar_t* text) {
    // wcslen comes from the runtime's C library, loaded before this one.
    const int length = static_cast<int>(wcslen(text));
    if (length == 0) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], size, nullptr, nullptr);
    }
    return out;
}

void appendLine(const std::wstring& path, const std::string& line) {
    if (path.empty()) return;
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

extern "C" int __cdecl RegisterDeployEx(void* request, void* response) {
    HKEY key = openSteeringKey();
    const std::wstring logPath = readText(key, L"RequestLog");
    Request parsed;
    const std::string problem = check(request, response, parsed);
    if (!problem.empty()) {
        appendLine(logPath, "invalid: " + problem);
        if (key) RegCloseKey(key);
        return 0;
    }
    appendLine(logPath, "kind=" + std::to_string(parsed.kind) +
                            " argument=" + std::to_string(parsed.argument) + " config=" +
                            (parsed.configuration ? utf8(parsed.configuration) : std::string()));
    const bool fails = readNumber(key, L"CallFails", 0) != 0;
    const int32_t answer =
        readNumber(key, kAnswerNames[parsed.kind - 1], kDefaultAnswers[parsed.kind - 1]);
    if (key) RegCloseKey(key);
    if (fails) return 0;
    std::memcpy(static_cast<char*>(parsed.results) + kQueryResOffset, &answer, sizeof(answer));
    return 1;
}
