// busy_install <package> <flag file>: a silent run's install through a stand-in
// service that answers 1618 while the flag file exists; exits with the result.
#include <windows.h>

#include "ServiceBusyWait.h"
#include "WrapperOffline.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    msi::InstallData request;
    request.packagePath = argv[1];
    const ServiceBusyWait wait = ServiceBusyWait::forRun(true);
    return ExecCommand(request, [&](const msi::InstallData& r) {
        wait.install(r, [&](const msi::InstallData& held) {
            if (GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES) {
                throw msi::Error(ERROR_INSTALL_ALREADY_RUNNING, "stand-in service held");
            }
            msi::install(held);
        });
    });
}
