// A started value model with the database creators and the real "ODBC"
// creator over a scratch SQLite file, and short forms of the calls a
// script makes on cells.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

#include "dbf/ScriptDB.h"
#include "odbc/OdbcLibrary.h"
#include "values/ArrayType.h"
#include "values/TypeHelpers.h"

class OdbcScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartValueModel("scriptrun", "/tmp");
        RegisterDatabaseCreators(nullptr, MakeOdbcCreator());
        path_ = ::testing::TempDir() + "scriptrun_odbc_objects_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                std::to_string(getpid()) + ".db";
        std::remove(path_.c_str());
    }
    void TearDown() override {
        StopOdbcLibrary();
        StopValueModel();
        StopDatabaseCreators();
        std::remove(path_.c_str());
    }

    static VAR_* Creator() { return System->CellByName("ODBC"); }
    static VAR_* Param() { return Creator()->Method("Param", nullptr, false); }

    // Points the creator at the scratch database; skips the test when the
    // driver manager or the SQLite driver is missing.
    void UseSqlite() {
        SetParam("DRIVER", "SQLite3");
        SetParam("Database", path_);
        try {
            TempRef probe(Query("select 1"));
            if (ReadInt(probe.get(), "Cols") != 1) GTEST_SKIP() << "the SQLite3 ODBC driver is not installed";
        } catch (const ScriptError& error) {
            GTEST_SKIP() << error.what();
        }
    }
    static void SetParam(const std::string& key, const std::string& value) {
        TempRef k(NewStr(key)), v(NewStr(value));
        Param()->SetIndex(k.get(), v.get());
    }
    static std::string GetParam(const std::string& key) {
        TempRef k(NewStr(key));
        TempRef value(Param()->GetIndex(k.get()));
        return value->GetStr();
    }

    static GrafVarArray* Args(std::vector<VAR_*> cells) {
        auto* args = new GrafVarArray;
        for (VAR_* cell : cells) args->AddCell(std::to_string(args->Count), cell);
        return args;
    }
    static VAR_* Call(VAR_* callee, std::vector<VAR_*> cells) {
        GrafVarArray* args = Args(std::move(cells));
        VAR_* result = callee->CallArgs(args);
        delete args;
        return result;
    }
    // ODBC(sql): a new temporary result.
    static VAR_* Query(const std::string& sql) { return Call(Creator(), {NewStr(sql)}); }
    static VAR_* Invoke(VAR_* owner, const std::string& name, std::vector<VAR_*> cells) {
        TempRef method(owner->Method(name, nullptr, false));
        return Call(method.get(), std::move(cells));
    }
    static std::string InvokeText(VAR_* owner, const std::string& name, std::vector<VAR_*> cells) {
        TempRef value(Invoke(owner, name, std::move(cells)));
        return value->GetStr();
    }
    static std::string ReadText(VAR_* owner, const std::string& name) {
        TempRef value(owner->Method(name, nullptr, false));
        return value->GetStr();
    }
    static int64_t ReadInt(VAR_* owner, const std::string& name) {
        TempRef value(owner->Method(name, nullptr, false));
        return value->GetInt();
    }
    static std::string IndexText(VAR_* owner, VAR_* key) {
        TempRef k(key);
        TempRef value(owner->GetIndex(key));
        return value->GetStr();
    }
    static VAR_* Range(VAR_* owner, VAR_* from, VAR_* to) {
        TempRef f(from), t(to);
        return owner->GetRange(from, to);
    }
    static VAR_* Map(std::vector<std::pair<std::string, VAR_*>> entries) {
        VAR_* array = NewArray();
        for (auto& [name, value] : entries) TableOf(array)->AddCell(name, value);
        return array;
    }

    std::string path_;
};
