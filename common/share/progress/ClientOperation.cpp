#include "ClientOperation.h"

#include <cassert>

namespace progress {

ClientOperation::ClientOperation(const std::string& name)
    : memory(ipc::SharedMemoryUnsafe::Open, name) {}

void ClientOperation::post(unsigned id, unsigned state) {
    assert(id);
    ipc::SharedMemory<Operation>::Snapshot snapshot(memory);
    snapshot.get() = Operation(id, state);
    snapshot.flush();
}

} // namespace progress
