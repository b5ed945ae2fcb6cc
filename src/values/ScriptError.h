// The one exception type of the system: a failure carrying its text. Each
// layer that catches one re-raises it with its own message in front,
// joined by "\r\n<  ", so a report reads from the outermost context inwards.
#pragma once

#include <stdexcept>
#include <string>

class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const std::string& text) : std::runtime_error(text) {}
};

// Text of the error being handled, wrapped in an outer message.
inline std::string NestedErrorText(const std::string& outer, const std::string& inner) {
    return outer + "\r\n<  " + inner;
}
