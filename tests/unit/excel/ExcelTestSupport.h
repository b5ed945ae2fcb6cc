// Shared helpers of the spreadsheet tests: a connected TExcelTools, a
// scratch directory, and a proxy that records every late-bound call.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "excel/AutomationFactory.h"
#include "excel/ExcelTool.h"

namespace exceltest {

inline std::filesystem::path ScratchDir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() /
               ("scriptrun_excel_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::string ArgText(const Variant& v) {
    switch (v.Kind()) {
    case VarKind::I4: return "I4:" + std::to_string(v.IntValue());
    case VarKind::String: return "Str:" + v.StrValue();
    case VarKind::Bool: return v.BoolValue() ? "Bool:true" : "Bool:false";
    case VarKind::Error: return v.IsMissing() ? "Missing" : "Error";
    case VarKind::Dispatch: return "Object";
    default: return "Kind" + std::to_string(int(v.Kind())) + ":" + v.ToText();
    }
}

// Wraps an automation object; objects it returns are wrapped too, so the
// log shows the whole traffic in order, e.g. "Get WorkBooks()".
class Recorder : public AutoObject {
public:
    Recorder(AutoRef inner, std::vector<std::string>* log) : inner_(std::move(inner)), log_(log) {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        std::string line = kind == InvokeKind::Get ? "Get " : kind == InvokeKind::Put ? "Put " : "Call ";
        line += member + "(";
        for (size_t i = 0; i < args.size(); ++i) line += (i ? "," : "") + ArgText(args[i]);
        log_->push_back(line + ")");
        Variant result = inner_->Invoke(member, kind, args);
        if (result.Kind() == VarKind::Dispatch)
            return Variant::FromObject(std::make_shared<Recorder>(result.Object(), log_));
        return result;
    }

private:
    AutoRef inner_;
    std::vector<std::string>* log_;
};

// A TExcelTools with a fresh application.
struct ToolsFixture : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(tools.Connect()); }
    TExcelTools tools;
};

}  // namespace exceltest
