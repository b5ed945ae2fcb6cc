// Runs script texts on the machine inside one value model for the whole
// test binary; Output is captured through the host hook.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "compiler/CFuncVar.h"
#include "values/scriptvar.h"

class VmTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Compiles and runs the text; returns everything Output wrote, one
    // line per call.
    std::string Out(const std::string& script);
    // Runs the text and returns the text of the run's result.
    std::string ResultOf(const std::string& script);
    // Runs the text expecting a failure; returns the error text.
    std::string ErrorOf(const std::string& script);

    std::string output_;
};
