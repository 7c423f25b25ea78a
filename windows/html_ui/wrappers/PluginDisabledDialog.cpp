#include "PluginDisabledDialog.h"

PluginDisabledDialog::PluginDisabledDialog(const std::string& locale)
    : ui::Dialog("plugin_disabled.html", locale) {}
