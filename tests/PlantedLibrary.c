/* Stand-in for a system library planted beside the installer: loading it
   ends the process with a code no run of the installer gives. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) ExitProcess(97);
    return TRUE;
}
