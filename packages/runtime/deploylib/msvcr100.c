/* Stand-in for the runtime's C library: the one function the deployment
   library stand-in takes from it. Built without a C runtime (and without
   system headers, which declare wcslen as imported), so it imports
   nothing itself. */

int __stdcall StandInEntry(void* instance, unsigned long reason, void* reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return 1;
}

__SIZE_TYPE__ wcslen(const unsigned short* text) {
    __SIZE_TYPE__ n = 0;
    while (text[n] != 0) {
        ++n;
    }
    return n;
}
