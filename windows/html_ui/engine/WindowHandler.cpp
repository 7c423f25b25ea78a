#include "WindowHandler.h"

#include "Locale.h"

namespace ui {

std::string WindowHandler::getLocale() {
    return Locale::defaultLocale().name();
}

} // namespace ui
