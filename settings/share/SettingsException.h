#pragma once

#include <stdexcept>

#include "TeguError.h"

namespace settings {

// One numbering for the whole settings library: the code of an Exception
// and the result of every settings_api function. Several codes mean one
// thing inside the parser and another at the interface; the aliases name
// the second meaning.
enum Status {
    STATUS_OK = 0,
    STATUS_INTERNAL_ERROR = 200,
    STATUS_ACCEPTED = 300,
    STATUS_NULL_ARGUMENT = 300,
    STATUS_KEY_WITHOUT_VALUE = 301,
    STATUS_NO_VALUE = 301,
    STATUS_EMPTY_KEY = 302,
    STATUS_NOT_CONVERTIBLE = 302,
    STATUS_INVALID_KEY = 303,
    STATUS_NO_SUCH_KEY = 303,
    STATUS_INVALID_VALUE = 304,
    STATUS_CANNOT_OPEN = 304,
    STATUS_INVALID_COMMENT = 305,
    STATUS_NO_READ_PERMISSION = 305,
    STATUS_WRITE_FAILED = 306,
    STATUS_READ_FAILED = 307,
    STATUS_PATH_TOO_LONG = 310,
    STATUS_PATH_INVALID = 311,
    STATUS_PATH_NOT_PLAIN_TEXT = 312,
    STATUS_MALFORMED = 313,
    STATUS_NOT_PLAIN_TEXT = 314,
    STATUS_FILE_TOO_LONG = 315,
};

// A settings failure: no message of its own, only the code.
class Exception : public std::runtime_error {
public:
    explicit Exception(int code) : std::runtime_error(""), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Lets a caller catch one code by type.
template <int Code>
class ExceptionCode : public Exception {
public:
    ExceptionCode() : Exception(Code) {}
};

typedef ExceptionCode<STATUS_NO_VALUE> NoValueError;
typedef ExceptionCode<STATUS_NOT_CONVERTIBLE> NotConvertibleError;
typedef ExceptionCode<STATUS_NO_SUCH_KEY> NoSuchKeyError;

} // namespace settings

#define SETTINGS_THROW(code) JP_THROW(settings::Exception(code))
