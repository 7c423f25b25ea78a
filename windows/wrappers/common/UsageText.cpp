#include "UsageText.h"

#include "InstallKeys.h"

namespace {

const char* const kSwitches =
    "Switches:\n"
    "  /s                  install silently: no pages, no questions\n"
    "  /q, /qn, /quiet     the same as /s (the /q word is forwarded to the package)\n"
    "  /silent, /verysilent  the same as /s\n"
    "  /passive, /qb, /qr  the progress page only, no questions\n"
    "  /norestart          never let the package restart the machine\n"
    "                      (the default unless REBOOT=... is given)\n"
    "  /exitcodes=msi      return the installer service's exit codes (below)\n"
    "  /validate           check the configuration; change nothing\n"
    "  /uninstall          remove this build; exit 0 also when it is not installed\n"
    "  /extract <folder>   write the packages into folder; install nothing\n"
    "  /l*v <file>         the installer service's log of the package\n"
    "  /?, /help           this text\n";

const char* const kExitCodes =
    "Exit codes                            default       /exitcodes=msi\n"
    "  installed, removed or extracted     0             0\n"
    "  ... and a restart is needed         0             3010 (1641: the service started it)\n"
    "  another Calyx install in progress   -1            1618\n"
    "  a newer build is installed          0             1638\n"
    "  the same static build is installed  -1            1638\n"
    "  bad switches or configuration       -80           1639\n"
    "  cancelled by the user               0             1602\n"
    "  the package could not be written    system error  1603\n"
    "  the package failed                  the service's code, in both\n";

std::string valueHint(install_keys::Kind kind) {
    switch (kind) {
    case install_keys::Kind::ENABLE_DISABLE: return "=Enable|Disable";
    case install_keys::Kind::LEVEL: return "=1|2|3|4|L|M|H|VH";
    case install_keys::Kind::INT: return "=<number>";
    case install_keys::Kind::PATH: return "=<absolute path>";
    case install_keys::Kind::STR: return "=<text>";
    case install_keys::Kind::SWITCH: break;
    }
    return std::string();
}

} // namespace

std::string usageText(const CarriedBuild& build) {
    std::string text = "Calyx " + build.version + " offline installer\n\n" + "Usage: " +
                       build.program + " [switches] [KEY=value ...] [configuration file]\n\n" +
                       kSwitches + "\nKeys, on the command line or one per line in a configuration file:\n";
    for (const install_keys::Key& key : install_keys::table()) {
        text += "  " + std::string(key.name) + valueHint(key.kind) + "\n";
    }
    const std::string view = build.package64Bit ? "64-bit" : "32-bit";
    text += std::string("\n") + kExitCodes +
            "\nLogs:\n"
            "  %TEMP%\\cxtimer.log  this installer (C:\\Windows\\Temp for SYSTEM)\n"
            "  /l*v <file>         the package, written by the installer service\n"
            "\nCarried build:\n"
            "  version       " + build.version + " (package " + build.msiVersion + ")\n" +
            "  product code  " + build.productCode + "\n" +
            "  upgrade code  " + build.upgradeCode + "\n" +
            "\nUninstall:\n  " + build.program + " /s /uninstall\n" +
            "  msiexec /x " + build.productCode + " /qn REBOOT=ReallySuppress\n" +
            "\nDetection rule:\n  product " + build.productCode + " installed, version " +
            build.msiVersion + " or later\n  or HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
            build.productCode + " (" + view + " view) DisplayVersion " + build.msiVersion + "\n";
    return text;
}
