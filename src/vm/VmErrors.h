// Runtime error texts of the machine. An error passes outwards through
// every layer, each putting its own context in front ("\r\n<  " between),
// so the final text reads from the outermost context inwards.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

#include "values/ScriptError.h"

// Names of the register operations, used as the context of their failures.
inline constexpr const char* kMovError = "mov <obj> Error";
inline constexpr const char* kSetPropertyError = "mov <obj>.<setProperty> Error";
inline constexpr const char* kActError = "<Buffer>.Act[<..>] Error";
inline constexpr const char* kActMovError = "<Buffer>.Act[<..>].MOV Error";
inline constexpr const char* kResultError = "<Buffer>.Result Error";
inline constexpr const char* kNewCleanError = "<Buffer>.newClean Error";
inline constexpr const char* kMathError = "Math operation Error";

// The message for an instruction code, built from its operand text p (and
// a second text q, always empty here); empty for codes without one.
std::string InstructionMessage(uint16_t code, const std::string& p, const std::string& q = std::string());

// "eip: " + the index's low 16 bits + "; " + the instruction's message.
std::string EipText(int32_t index, uint16_t code, const std::string& operand);

// The text of the exception being handled (inside a catch block).
std::string CurrentErrorText();

// Runs `action`; a failure is re-raised as `context` + "\r\n<  " + its text.
template <class Action>
decltype(auto) Guarded(const char* context, Action&& action) {
    try {
        return std::forward<Action>(action)();
    } catch (const std::exception& error) {
        throw ScriptError(NestedErrorText(context, error.what()));
    }
}
