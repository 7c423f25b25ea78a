#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include <ipc/Error.h>
#include <ipc/SharedMemory.h>

#include "InstallCallback.h"
#include "Operation.h"

using progress::Operation;

TEST(InstallCallback, ActionStartsOfThreeActionsPostTheirOperation) {
    const struct {
        UINT type;
        const char* text;
        unsigned posted;  // 0: the mailbox stays empty
    } cases[] = {
        {INSTALLMESSAGE_ACTIONSTART, "Action 10:02:03: CostInitialize. Computing space", 1},
        {INSTALLMESSAGE_ACTIONSTART, "Action 10:02:03: InstallInitialize.", 2},
        {INSTALLMESSAGE_ACTIONSTART, "Action 10:02:03: CreateFolders. Creating folders", 3},
        {INSTALLMESSAGE_ACTIONSTART, "Action 10:02:03: CostFinalize. Computing space", 0},
        {INSTALLMESSAGE_ACTIONSTART, "Action 10:02:03: CostInitialize", 0},
        {INSTALLMESSAGE_ACTIONSTART, "Action 10:02:03: costinitialize.", 0},
        {INSTALLMESSAGE_ACTIONSTART, "Action  10:02:03: CostInitialize.", 0},
        {INSTALLMESSAGE_ACTIONSTART, "Action CostInitialize.", 0},
        {INSTALLMESSAGE_ACTIONDATA, "Action 10:02:03: CostInitialize.", 0},
    };
    ipc::SharedMemory<Operation> mailbox(ipc::SharedMemoryUnsafe::Create, "CxInstallCallbackTest");
    InstallCallback callback("CxInstallCallbackTest");
    for (const auto& c : cases) {
        ipc::SharedMemory<Operation>::Snapshot empty(mailbox);
        empty.get() = Operation();
        empty.flush();
        callback.handle(c.type, 0, c.text);
        const Operation expected = c.posted ? Operation(c.posted, Operation::Started) : Operation();
        EXPECT_EQ(ipc::SharedMemory<Operation>::Snapshot(mailbox).get(), expected) << c.text;
    }
    // A silent run has none: the service's adapter logs the failure.
    EXPECT_THROW(InstallCallback("CxNoMailboxHere")
                     .handle(INSTALLMESSAGE_ACTIONSTART, 0, "Action 10:02:03: CostInitialize."),
                 ipc::PlatformError);
}
