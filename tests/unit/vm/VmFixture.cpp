#include "VmFixture.h"

#include "values/StringType.h"
#include "vm/FailedRuns.h"
#include "vm/RuntimeLibrary.h"
#include "vm/RuntimeState.h"
#include "vm/VirtualMachine.h"

namespace {

class ValueModelEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        StartValueModel("/opt/scriptrun/scriptrun", "/tmp");
        StartRuntimeLibrary();
        InstallEmbeddedCodeHook();
    }
    void TearDown() override {
        ReleaseFailedScripts();
        StopValueModel();
        StopRuntimeLibrary();
    }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ValueModelEnvironment);

}  // namespace

void VmTest::SetUp() {
    output_.clear();
    OutputHook = [this](const std::string& text) {
        output_ += text + "\n";
        return std::string();
    };
}

void VmTest::TearDown() {
    OutputHook = nullptr;
    InputHook = nullptr;
    ReleaseFailedScripts();
    Globals->Clear();
}

std::string VmTest::Out(const std::string& script) {
    output_.clear();
    CFuncVar function("test", script);
    TempRef result(::Run(function));
    return output_;
}

std::string VmTest::ResultOf(const std::string& script) {
    CFuncVar function("test", script);
    TempRef result(::Run(function));
    return result->GetStr();
}

std::string VmTest::ErrorOf(const std::string& script) {
    CFuncVar function("test", script);
    try {
        TempRef result(::Run(function));
    } catch (const std::exception& error) {
        ActiveLocals = nullptr;  // the function dies with this scope
        return error.what();
    }
    ADD_FAILURE() << "no error from: " << script;
    return {};
}
