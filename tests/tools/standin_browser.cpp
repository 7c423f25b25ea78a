// A stand-in browser for the restart tests: appends its command line to
// commandline.txt beside itself once its window is up, exits with 7 on
// WM_CLOSE, unless started with --stubborn, which ignores it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
static bool stubborn = false;

static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CLOSE) return DefWindowProcA(window, message, wParam, lParam);
    if (!stubborn) PostQuitMessage(7);
    return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    stubborn = std::strstr(commandLine, "--stubborn") != nullptr;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string record = std::string(self, std::strrchr(self, '\\') + 1) + "commandline.txt";
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "CxStandInBrowser";
    RegisterClassA(&windowClass);
    CreateWindowA("CxStandInBrowser", "stand-in browser", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                  nullptr, instance, nullptr);
    if (FILE* f = std::fopen(record.c_str(), "a")) std::fprintf(f, "%s\n", GetCommandLineA()), std::fclose(f);
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return static_cast<int>(message.wParam);
}
