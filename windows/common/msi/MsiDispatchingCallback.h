#pragma once

#include <vector>

#include "MsiCallback.h"

namespace msi {

// Values of a progress message's fields 1 to 4, in order, as far as they
// could be read ("1: 2 2: 25 3: 0 4: 1" gives 2, 25, 0, 1).
typedef std::vector<long long> ProgressFields;

// Reads a progress message text; reading stops at the first field that is
// missing, out of order or not a number, and after field 4.
ProgressFields parseProgressFields(const std::string& text);

// A Callback with one handler per kind of message. Kinds a receiver does
// not override are dropped.
class DispatchingCallback : public Callback {
public:
    void handle(UINT messageType, UINT flags, const std::string& text) final;

protected:
    virtual void onActionStart(const std::string& /*text*/) {}
    virtual void onActionData(const std::string& /*text*/) {}
    virtual void onProgress(const ProgressFields& /*fields*/) {}
    // Every other kind: errors, warnings, information, initialisation...
    virtual void onMessage(UINT /*messageType*/, UINT /*flags*/, const std::string& /*text*/) {}
};

} // namespace msi
