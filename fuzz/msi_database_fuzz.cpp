// Reads the input as a compound file and an installer database, as the
// transform generator reads its packages; a readable file must survive being
// written back and read again unchanged.
#include <cstdint>
#include <cstdlib>

#include "CompoundFile.h"
#include "InstallerDatabase.h"

namespace {

bool same(const cfb::Storage& a, const cfb::Storage& b) {
    if (a.classId != b.classId || a.children.size() != b.children.size()) return false;
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        const cfb::Entry& x = a.children[i];
        const cfb::Entry& y = b.children[i];
        if (x.name != y.name || x.isStorage != y.isStorage || x.data != y.data || !same(x.storage, y.storage)) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cfb::Storage storage;
    try {
        storage = cfb::read(cfb::Bytes(data, data + size));
    } catch (const std::exception&) {
        return 0;
    }
    try {
        if (!same(storage, cfb::read(cfb::write(storage)))) std::abort();
    } catch (const std::exception&) {
        // Names a writer refuses (duplicates, over-long) are no reader fault.
    }
    try {
        msidb::Database db(storage);
    } catch (const std::exception&) {
    }
    return 0;
}
