#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

// A scripted stand-in for the WebBrowser control. It implements only what
// the host calls and plays a page as steps, one a line, each from a posted
// message after Navigate, as a browser delivers its events:
//   complete               DocumentComplete
//   error <status>         NavigateError with that status code
//   before <url>           BeforeNavigate2; records whether it was cancelled
//   external <method> ...  calls window.external (words as arguments)
//   answer <text>          what eval returns from now on
//   fail <text>            eval of a script starting with text fails from now on
//   box <yes|no|ok>        the next message box of the process gets that
//                          answer; records "box <caption>: <text> -> <answer>"
//   end                    pause until the next Navigate
//   pause <ms>             the next step comes that much later
//   refuse                 (anywhere) no control can be created at all; the
//                          script's boxes are answered from the first try
// Every host call is recorded with the thread that made it.
namespace standin {

struct Call {
    std::string what;
    unsigned long thread;
};

// Starts afresh with these steps; with a log path, each call is also
// appended to that file as a TRACE record of the function "standin".
void setScript(const std::string& steps, const std::string& logPath = std::string());
std::vector<Call> calls();
IClassFactory* factory();
// The window.external the page got last, still held as page script would
// hold it (the caller releases it); null when there was none.
IDispatch* takeExternal();
// Calls window.external's method words[0] with the other words:
// "<method> -> <answer>".
std::string callExternal(IDispatch* external, const std::vector<std::string>& words);

} // namespace standin
