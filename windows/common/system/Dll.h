#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "AutoHandle.h"
#include "TeguError.h"

// A system library loaded from the system folder. Copies take their own
// reference to the module.
class Dll {
public:
    explicit Dll(const std::wstring& name);
    Dll(const Dll& other);
    Dll& operator=(const Dll&) = delete;

    const std::wstring& name() const { return name_; }
    HMODULE module() const { return module_.get(); }

    // The address of an exported function; null when absent and not required,
    // raises when absent and required.
    FARPROC getFunction(const std::string& functionName, bool required) const;

private:
    std::wstring name_;
    UniqueModule module_;
};

// A function of a Dll that may be missing on older Windows.
template <typename T>
class DllFunction {
public:
    DllFunction(const Dll& library, const std::string& name, bool required = false)
        : library_(std::make_shared<Dll>(library)), name_(name),
          fn_(reinterpret_cast<T*>(library_->getFunction(name, required))) {}

    bool available() const { return fn_ != nullptr; }

    // Raises when the function is not available.
    operator T*() const {
        if (!fn_) {
            JP_THROW_NAMED(std::runtime_error(name_ + "() function is not available in " +
                                              narrow(library_->name())),
                           "DllFunction::operator T*");
        }
        return fn_;
    }

private:
    static std::string narrow(const std::wstring& s);

    std::shared_ptr<Dll> library_;
    std::string name_;
    T* fn_;
};

template <typename T>
std::string DllFunction<T>::narrow(const std::wstring& s) {
    return std::string(s.begin(), s.end());
}
