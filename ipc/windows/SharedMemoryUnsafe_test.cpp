#include <gtest/gtest.h>

#include <windows.h>

#include <ipc/Error.h>
#include <ipc/SharedMemory.h>

#include <cstdint>
#include <string>

namespace {

struct Pair {
    std::uint32_t first;
    std::uint32_t second;
};

typedef ipc::SharedMemory<Pair> PairMemory;

bool exists(const std::string& name) {
    try {
        PairMemory opened(ipc::SharedMemoryUnsafe::Open, name);
        return true;
    } catch (const ipc::PlatformError&) {
        return false;
    }
}

} // namespace

TEST(SharedMemoryUnsafe, OpeningAMappingNobodyCreatedRaises) {
    try {
        ipc::SharedMemoryUnsafe memory(ipc::SharedMemoryUnsafe::Open, "CxNoSuchMappingAnywhere", 8);
        ADD_FAILURE() << "no exception";
    } catch (const ipc::PlatformError& e) {
        EXPECT_EQ(e.code(), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
        EXPECT_NE(std::string(e.what()).find(") at ipc::SharedMemoryUnsafe::create(): ipc error"),
                  std::string::npos)
            << e.what();
    }
}

TEST(SharedMemoryUnsafe, CreatingWithoutANameUsesAFreshGuid) {
    ipc::SharedMemoryUnsafe a(ipc::SharedMemoryUnsafe::Create, "", 16);
    ipc::SharedMemoryUnsafe b(ipc::SharedMemoryUnsafe::Create, "", 16);
    EXPECT_EQ(a.getName().size(), 38u) << a.getName();
    EXPECT_EQ(a.getName()[0], '{');
    EXPECT_NE(a.getName(), b.getName());
    EXPECT_EQ(a.getSize(), 16u);
    ipc::SharedMemoryUnsafe opened(ipc::SharedMemoryUnsafe::Open, a.getName(), 16);
    ipc::SharedMemoryUnsafe::Snapshot view(opened);
    EXPECT_EQ(view.getSize(), 16u);
}

TEST(SharedMemoryUnsafe, ZeroSizeCannotBeCreated) {
    EXPECT_THROW(ipc::SharedMemoryUnsafe(ipc::SharedMemoryUnsafe::Create, "", 0),
                 ipc::PlatformError);
}

TEST(SharedMemory, OpenerAndCreatorShareTheWholeRecord) {
    PairMemory creator(ipc::SharedMemoryUnsafe::Create, "");
    {
        PairMemory::Snapshot s(creator);
        EXPECT_EQ(s.get().first, 0u);
        EXPECT_EQ(s.get().second, 0u);
        s.get() = Pair{4, 1};
        s.flush();
    }
    PairMemory opener(ipc::SharedMemoryUnsafe::Open, creator.getName());
    {
        PairMemory::Snapshot s(opener);
        EXPECT_EQ(s.get().first, 4u);
        EXPECT_EQ(s.get().second, 1u);
        s.get() = Pair{7, 2};
        s.flush();
    }
    PairMemory::Snapshot s(creator);
    EXPECT_EQ(s.get().first, 7u);
    EXPECT_EQ(s.get().second, 2u);
}

TEST(SharedMemory, RecordChangesStayPrivateUntilFlushed) {
    PairMemory memory(ipc::SharedMemoryUnsafe::Create, "");
    {
        PairMemory::Snapshot s(memory);
        s.get() = Pair{9, 9};
    }
    PairMemory::Snapshot s(memory);
    EXPECT_EQ(s.get().first, 0u);
}

TEST(SharedMemory, MappingLivesWhileAnyHandleIsOpen) {
    std::string name;
    {
        auto* creator = new PairMemory(ipc::SharedMemoryUnsafe::Create, "");
        name = creator->getName();
        PairMemory opener(ipc::SharedMemoryUnsafe::Open, name);
        delete creator;
        EXPECT_TRUE(exists(name));
    }
    EXPECT_FALSE(exists(name));
}
