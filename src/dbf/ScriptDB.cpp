// Start-up and shutdown of the script database objects.
#include "dbf/ScriptDB.h"

#include <vector>

namespace {

// Stands in for a source module that this build does not provide.
class UnavailableCreator : public ClassCreator {
public:
    UnavailableCreator(const std::string& typeName, std::string sourceName)
        : ClassCreator(typeName, typeName), sourceName_(std::move(sourceName)) {}
    VAR_* CallArgs(GrafVarArray*) override {
        throw ScriptError(sourceName_ + " sources are not available in this program");
    }
private:
    std::string sourceName_;
};

std::vector<std::unique_ptr<Type_>>& OwnedTypes() {
    static std::vector<std::unique_ptr<Type_>> types;
    return types;
}

template <typename T>
T* Own(std::unique_ptr<T> type) {
    T* raw = type.get();
    raw->Create();
    OwnedTypes().push_back(std::move(type));
    return raw;
}

// A creator constant: a cell of the creator type, owned by System.
void EnterCreator(const char* name, std::unique_ptr<ClassCreator> creator) {
    ClassCreator* type = Own(std::move(creator));
    System->AddCell(name, VAR_::Create(type, false));
}

}  // namespace

void RegisterDatabaseCreators(std::unique_ptr<ClassCreator> excel, std::unique_ptr<ClassCreator> odbc) {
    BaseDBType = Own(std::make_unique<BaseDB>());
    VarDBFType = Own(std::make_unique<VarDBF>());
    EnterCreator("DBF", std::make_unique<ClassDBF>());
    EnterCreator("Excel", excel ? std::move(excel) : std::make_unique<UnavailableCreator>("Creator>Excel", "Excel"));
    EnterCreator("ODBC", odbc ? std::move(odbc) : std::make_unique<UnavailableCreator>("Creator>ODBC", "ODBC"));
}

void StopDatabaseCreators() {
    auto& types = OwnedTypes();
    while (!types.empty()) types.pop_back();
    BaseDBType = nullptr;
    VarDBFType = nullptr;
}
