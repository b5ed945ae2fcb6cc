// Shared helpers of the script table tests: a started value model with the
// database creators, a scratch folder, and short forms of the cell calls a
// script makes (calls, members, ranges).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <algorithm>
#include <string>
#include <vector>

#include <unistd.h>

#include "dbf/DBF_File.h"
#include "dbf/ScriptDB.h"
#include "values/ArrayType.h"
#include "values/TypeHelpers.h"

class ScriptDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("sdb_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        StartValueModel("scriptrun", dir_.string());
        RegisterDatabaseCreators();
    }
    void TearDown() override {
        while (!kept_.empty()) Drop(kept_.back());
        StopValueModel();
        StopDatabaseCreators();
        std::filesystem::remove_all(dir_);
    }

    std::string Base(const std::string& name) const { return (dir_ / name).string(); }
    static VAR_* Creator() { return System->CellByName("DBF"); }

    // An argument table as the machine builds it: entries "0", "1", ...
    static GrafVarArray* Args(std::vector<VAR_*> cells) {
        auto* args = new GrafVarArray;
        for (VAR_* cell : cells) args->AddCell(std::to_string(args->Count), cell);
        return args;
    }
    // x(args); the argument table is freed afterwards.
    static VAR_* Call(VAR_* callee, std::vector<VAR_*> cells) {
        std::unique_ptr<GrafVarArray> args(Args(std::move(cells)));
        return callee->CallArgs(args.get());
    }
    // x.name(args): the method value is looked up and called.
    static VAR_* Invoke(VAR_* owner, const std::string& name, std::vector<VAR_*> cells) {
        TempRef method(owner->Method(name, nullptr, false));
        return Call(method.get(), std::move(cells));
    }
    static VAR_* Read(VAR_* owner, const std::string& name) { return owner->Method(name, nullptr, false); }
    static std::string ReadText(VAR_* owner, const std::string& name) {
        TempRef value(Read(owner, name));
        return value->GetStr();
    }
    static void Write(VAR_* owner, const std::string& name, VAR_* value) {
        TempRef v(value);
        TempRef result(owner->Method(name, value, true));
    }
    // x[from..to]
    static VAR_* Range(VAR_* owner, VAR_* from, VAR_* to) {
        TempRef f(from), t(to);
        return owner->GetRange(from, to);
    }
    static void AssignRange(VAR_* owner, VAR_* from, VAR_* to, VAR_* value) {
        TempRef f(from), t(to), v(value);
        owner->SetRange(from, to, value);
    }

    // An array from names and values (values taken over).
    static VAR_* Map(std::vector<std::pair<std::string, VAR_*>> entries) {
        VAR_* array = NewArray();
        for (auto& [name, value] : entries) TableOf(array)->AddCell(name, value);
        return array;
    }
    static VAR_* List(std::vector<VAR_*> values) {
        VAR_* array = NewArray();
        for (VAR_* value : values) TableOf(array)->AddCell(std::to_string(TableOf(array)->Count), value);
        return array;
    }

    // A table through the creator: fields as name -> description, then
    // records given field by field (texts), written through the engine.
    void MakeTable(const std::string& name, std::vector<std::pair<std::string, std::string>> fields,
                   std::vector<std::vector<std::string>> records = {}) {
        std::vector<std::pair<std::string, VAR_*>> entries;
        for (auto& [field, type] : fields) entries.emplace_back(field, NewStr(type));
        TempRef result(Invoke(Creator(), "Create", {NewStr(Base(name)), Map(entries)}));
        TDBF_Data table(Base(name), "rw", true, true, false);
        ASSERT_TRUE(table.IsOpen());
        for (const auto& record : records) {
            table.Append(true);
            for (size_t i = 0; i < record.size(); ++i)
                table.SetField(Variant::FromInt(int64_t(i)), Variant::FromStr(record[i]));
            table.WriteCurrent(false, false);
        }
        table.Close();
    }
    // A table opened through the creator ("rw").
    VAR_* Open(const std::string& name) { return Call(Creator(), {NewStr(Base(name))}); }

    // The texts of one field of every record, read back through the engine
    // (trailing blanks dropped, deleted records marked with a leading '*').
    std::vector<std::string> Column(const std::string& name, const std::string& field) {
        std::vector<std::string> texts;
        TDBF_Data table(Base(name), "r", true, true, false);
        for (table.First(true); !table.Eof(); table.Next(true)) {
            TempRef value(NewFromVariant(table.GetField(Variant::FromStr(field))));
            std::string text = value->GetStr();
            text.erase(text.find_last_not_of(' ') + 1);
            texts.push_back((table.IsDeleted() ? "*" : "") + text);
        }
        return texts;
    }

    // Holds a cell as a variable does (not temporary) until Drop or the end
    // of the test: operations that return their operand then leave it alone.
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
};

using Texts = std::vector<std::string>;
