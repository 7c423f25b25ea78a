#pragma once

#include <string>

#include "ZipSource.h"

// An archive held in memory (a copy of the given bytes).
class MemoryZipSource : public ZipSource {
public:
    explicit MemoryZipSource(std::string bytes) : bytes_(std::move(bytes)) {}

    uint64_t size() const override { return bytes_.size(); }

protected:
    size_t readSome(uint64_t offset, void* buffer, size_t length) override;

private:
    const std::string bytes_;
};
