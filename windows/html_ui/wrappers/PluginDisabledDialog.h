#pragma once

#include <string>

#include "Dialog.h"

// Notice that the new runtime's browser plug-in is disabled; the page has
// nothing to be told and only its "next".
class PluginDisabledDialog : public ui::Dialog {
public:
    explicit PluginDisabledDialog(const std::string& locale);
};
