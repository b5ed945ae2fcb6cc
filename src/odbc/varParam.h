// varParam: the connection attributes of the ODBC creator as a key/value
// value (ODBC.Param). The type has no payload of its own: a parameter
// cell's Data points back to the creator that owns the attributes, so
// every copy of the cell reads and writes the same attributes.
#pragma once

#include "values/ObjectType.h"

class ClassODBC;

class varParam : public Object_ {
public:
    varParam();

    VAR_* GetIndex(VAR_* key) override;           // "" for an attribute never set
    void SetIndex(VAR_* key, VAR_* value) override;
    std::string GetTypeName() override;
    void SetCallName() override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;

private:
    // The creator behind the current cell; nil for a cell that has none.
    ClassODBC* Owner();
    // Writing "Set" with an Array: every entry becomes an attribute, in
    // the array's order. Any other value sets nothing.
    void SetFromArray(VAR_* array);
};
