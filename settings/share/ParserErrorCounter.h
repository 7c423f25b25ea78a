#pragma once

#include "ConfigParserInterfaces.h"

namespace settings_impl {

// Counts parse errors and passes each on to an optional next listener.
class ParserErrorCounter : public IParserErrorListener {
public:
    explicit ParserErrorCounter(IParserErrorListener* next) : next_(next) {}

    void onError(const IParserCursor& cursor, const std::string& message) override {
        ++count_;
        if (next_) next_->onError(cursor, message);
    }

    unsigned count() const { return count_; }

private:
    IParserErrorListener* next_;
    unsigned count_ = 0;
};

} // namespace settings_impl
