#pragma once

#include <windows.h>

#include <string>

#include "SourceLocation.h"

namespace ui {

// "<operation> failed with COM error 0x<hr> (<description>)"
std::string comFailure(const std::string& operation, HRESULT hr);

// Whether hr is a failure; a failure is logged at ERROR as comFailure
// with where's location.
bool comCallFailed(const SourceLocation& where, const std::string& operation, HRESULT hr);

// A COM call that logs its failure where it is made.
#define CX_COM_FAILED(operation, expr) ::ui::comCallFailed(SOURCE_LOCATION(), (operation), (expr))

} // namespace ui
