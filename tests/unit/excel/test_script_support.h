// Shared helpers of the workbook script object tests: a started value
// model with the creators and a fresh application, a scratch folder, the
// creator's messages captured, and short forms of the calls a script makes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "dbf/ScriptDB.h"
#include "excel/ClassExcel.h"
#include "excel/VarExcel.h"
#include "excel/VarExcelFormat.h"
#include "values/TypeHelpers.h"

class ScriptExcelTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("sxl_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        StartValueModel("scriptrun", dir_.string());
        RegisterDatabaseCreators(StartExcelObjects());
        WriteExcelMessages = [this](const std::string& text) { messages_.push_back(text); };
    }
    void TearDown() override {
        while (!kept_.empty()) Drop(kept_.back());
        StopValueModel();
        StopDatabaseCreators();
        StopExcelObjects();
        std::filesystem::remove_all(dir_);
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static VAR_* Creator() { return System->CellByName("Excel"); }

    static VAR_* Call(VAR_* callee, std::vector<VAR_*> cells) {
        GrafVarArray args;
        for (VAR_* cell : cells) args.AddCell(std::to_string(args.Count), cell);
        return callee->CallArgs(&args);
    }
    static VAR_* Invoke(VAR_* owner, const std::string& name, std::vector<VAR_*> cells) {
        TempRef method(owner->Method(name, nullptr, false));
        return Call(method.get(), std::move(cells));
    }
    static std::string ReadText(VAR_* owner, const std::string& name) {
        TempRef value(owner->Method(name, nullptr, false));
        return value->GetStr();
    }
    static void Write(VAR_* owner, const std::string& name, VAR_* value) {
        TempRef v(value);
        TempRef result(owner->Method(name, value, true));
    }
    static std::string IndexText(VAR_* owner, VAR_* key) {
        TempRef k(key);
        TempRef value(owner->GetIndex(key));
        return value->GetStr();
    }
    static void Store(VAR_* owner, VAR_* key, VAR_* value) {
        TempRef k(key), v(value);
        owner->SetIndex(key, value);
    }
    static VAR_* Range(VAR_* owner, VAR_* from, VAR_* to) {
        TempRef f(from), t(to);
        return owner->GetRange(from, to);
    }

    // A workbook opened (or created) through the creator, held as a variable.
    VAR_* Open(const std::string& name) { return Keep(Call(Creator(), {NewStr(name)})); }

    VAR_* Keep(VAR_* cell) {
        cell->Temp = false;
        if (std::find(kept_.begin(), kept_.end(), cell) == kept_.end()) kept_.push_back(cell);
        return cell;
    }
    void Drop(VAR_* cell) {
        std::erase(kept_, cell);
        cell->Temp = true;
        cell->Release();
    }

    std::filesystem::path dir_;
    std::vector<VAR_*> kept_;
    std::vector<std::string> messages_;
};
