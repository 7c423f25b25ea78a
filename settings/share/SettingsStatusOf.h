#pragma once

#include "SettingsException.h"

// For tests: the code of the settings::Exception that call raises, 0 when
// it raises none.
template <class Call>
int settingsStatusOf(Call call) {
    try {
        call();
    } catch (const settings::Exception& e) {
        return e.code();
    }
    return 0;
}
