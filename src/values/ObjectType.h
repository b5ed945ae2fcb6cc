// Object: the base of every object-like type (arrays and all library
// objects). The payload is a reference the value model neither creates
// nor frees; a type that owns its object overrides NewData/FreeData.
#pragma once

#include "values/scriptvar.h"

class Object_ : public Type_ {
public:
    Object_();
    std::string GetTypeName() override;
    void SetCallName() override;
    std::string GetStr() override;
    bool IsNull() override;
    bool IsEmpty() override;
    void CopyData(const CellData& src, CellData& dst) override;
};
