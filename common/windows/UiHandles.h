#pragma once

#include <windows.h>
#include <oleauto.h>

#include "AutoHandle.h"

// Handles of windows, drawing and OLE automation, owned like every other.
void closeWindow(HWND h);
void closeScreenDC(HDC h);
void closeBstr(BSTR s);
void clearVariant(VARIANT* v);
void closeTaskMemory(void* memory);

// A window; destroy it on the thread that created it.
typedef AutoHandle<HWND, AutoHandleTraits<HWND, closeWindow>> UniqueWindow;
// The screen's device context from GetDC(nullptr).
typedef AutoHandle<HDC, AutoHandleTraits<HDC, closeScreenDC>> UniqueScreenDC;
typedef AutoHandle<BSTR, AutoHandleTraits<BSTR, closeBstr>> UniqueBstr;
// Clears a VARIANT the caller holds (on its stack) at the end of the scope.
typedef AutoHandle<VARIANT*, AutoHandleTraits<VARIANT*, clearVariant>> VariantScope;
// Memory the shell or COM allocated for the caller (CoTaskMemFree), such as
// an item id list.
typedef AutoHandle<void*, AutoHandleTraits<void*, closeTaskMemory>> UniqueTaskMemory;
