// Variant: an automation value with no closer script type (dates, object
// references, ...), carried through scripts unchanged. Its numeric
// conversions are the defaults, so scripts convert it explicitly (to_s).
#pragma once

#include "values/scriptvar.h"

class Variant_ : public Type_ {
public:
    Variant_();
    CellData NewData() override;
    void FreeData(CellData& data) override;
    void CopyData(const CellData& src, CellData& dst) override;
    std::string GetTypeName() override;
    void SetCallName() override;
    std::string GetStr() override;
    void SetStr(const std::string& text) override;
    Variant GetVariant() override;
    void SetVariant(const Variant& value) override;
    void SetBool(bool value) override;
    void SetInt(int64_t value) override;
    void SetFloat(double value) override;
    void Adopt(Type_* previous) override;

private:
    Variant& Value();
};
