#pragma once

#include <windows.h>

#include <string>

// Shows a message box and answers the button pressed, as MessageBoxW does;
// tests answer in the user's place.
typedef int(WINAPI* MessageBoxFunction)(HWND, LPCWSTR, LPCWSTR, UINT);

// The installer's string id in the language of a page locale code such as
// "pt_BR" (English when that language lacks it); raises when missing.
std::string dialogString(const std::string& locale, unsigned id);

// text with its first "%s" replaced by value; a translation's other
// format characters stay as they are.
std::string withValue(std::string text, const std::string& value);

// A task-modal box of no owner; answers the button pressed.
int askUser(MessageBoxFunction messageBox, const std::string& caption, const std::string& text, UINT type);
