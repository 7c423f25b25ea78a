#include <gtest/gtest.h>

#include "LibraryTrustRule.h"

using libtrust::Level;

TEST(LibraryTrustRule, OnlyAdministratorsAndTheSystemCanChangeATrustedLibrary) {
    const std::string wineUser = "S-1-5-21-0-0-0-1000";
    const std::string ti = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
    struct Row {
        std::string sddl;
        Level level;
        const char* reason;
    } rows[] = {
        // An installed runtime below the program files folder.
        {"O:BAG:SYD:PAI(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GA;;;CO)", Level::File, ""},
        {("O:" + ti + "G:SYD:(A;;FA;;;S-1-5-80-956008885-3418522649-1831038044-1853292631-"
                      "2271478464)(A;;0x1200a9;;;WD)"),
         Level::OwnFolder, ""},
        // The system drive's root lets users add folders, not replace the one above the library.
        {"O:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICIIO;SDGXGWGR;;;AU)"
         "(A;;LC;;;AU)",
         Level::Ancestor, ""},
        {"O:SYD:(A;;LC;;;AU)", Level::OwnFolder, "S-1-5-11 may change it"},
        // A folder made at the root inherits modify rights for every signed-in user.
        {"O:BAD:AI(A;OICIID;FA;;;BA)(A;OICIID;SDGXGWGR;;;AU)", Level::Ancestor,
         "S-1-5-11 may change it"},
        {"O:BAD:(A;;0x1301bf;;;BU)", Level::File, "S-1-5-32-545 may change it"},
        {"O:BAD:(A;;WD;;;S-1-1-0)", Level::Ancestor, "S-1-1-0 may change it"},
        {"O:BAD:(A;;FA;;;S-1-5-21-1-2-3-1001)", Level::File, "S-1-5-21-1-2-3-1001 may change it"},
        {"O:BAD:(D;;FA;;;WD)(A;;0x1200a9;;;WD)", Level::File, ""},
        {"O:S-1-5-21-1-2-3-1001D:(A;;FA;;;BA)", Level::File, "it is owned by S-1-5-21-1-2-3-1001"},
        {"O:PUD:(A;;FA;;;BA)", Level::Ancestor, "it is owned by S-1-5-32-547"},
        // What Wine reports for every file: the system folder's owner is trusted.
        {("O:" + wineUser + "G:" + wineUser + "D:(A;;FA;;;SY)(A;;FA;;;" + wineUser +
          ")(A;;0x1200a9;;;WD)"),
         Level::File, ""},
        {("O:" + wineUser + "D:(A;;0x1201bf;;;WD)"), Level::File, "S-1-1-0 may change it"},
        {"O:BAD:NO_ACCESS_CONTROL", Level::File, "it has no access list, so everyone may change it"},
        {"O:BAG:SY", Level::File, "it has no access list, so everyone may change it"},
        {"O:BAD:P", Level::File, ""},
        {"G:SYD:(A;;FA;;;BA)", Level::File, "its owner cannot be read"},
        {"O:BAD:(A;;ZZ;;;WD)", Level::Ancestor, "its access list cannot be read"},
        {"O:BAD:(A;;FA;;;SY", Level::File, "its access list cannot be read"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(libtrust::untrustedReason(row.sddl, row.level, wineUser), row.reason) << row.sddl;
    }
    EXPECT_EQ(libtrust::untrustedReason("O:" + wineUser + "D:", Level::File, ""),
              "it is owned by " + wineUser);
}
