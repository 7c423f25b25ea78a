#pragma once

// CoInitialize for the lifetime of the object; CoUninitialize only when the
// initialisation succeeded.
class ComInitializer {
public:
    ComInitializer();
    ~ComInitializer();
    ComInitializer(const ComInitializer&) = delete;
    ComInitializer& operator=(const ComInitializer&) = delete;
    bool initialized() const { return initialized_; }

private:
    bool initialized_;
};

// The same for OleInitialize / OleUninitialize.
class OleInitializer {
public:
    OleInitializer();
    ~OleInitializer();
    OleInitializer(const OleInitializer&) = delete;
    OleInitializer& operator=(const OleInitializer&) = delete;
    bool initialized() const { return initialized_; }

private:
    bool initialized_;
};
