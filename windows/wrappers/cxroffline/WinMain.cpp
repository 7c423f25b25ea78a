#include <windows.h>

#include "Log.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    logit("Wrapper begin...");
    return 1;
}
