// The String type: Windows-1251 byte strings. Positions are 1-based and
// count bytes; a negative position counts from the end. Nearly every
// operator has a text meaning (removing, padding, searching, cutting),
// and calling a string formats it with the call's arguments.
#pragma once

#include <string>

#include "values/scriptvar.h"

// Runs the code of an embedded "#{...}" section of a string literal (as a
// function named "String") and gives its result text. Installed by the
// virtual machine at start; while it is unset, such sections are dropped.
extern std::string (*EmbeddedCodeHook)(const std::string& code);

// The one-byte text that marks a missing character.
inline const std::string kNullMarker(1, '\0');

// Escape expansion; with `args`, "%" format specifications take their
// values from that argument table, without it they are dropped.
std::string ExpandText(const std::string& text, GrafVarArray* args);

// Windows-1251 case swap of Not/BitNot: A-Z/a-z and the bytes 192-223 and
// 224-255 exchange; every other byte stays.
std::string SwapCase1251(std::string text);

// File-name parts of a script path; "/" and "\" both separate directories.
std::string FileExtPart(const std::string& path);
std::string FilePathPart(const std::string& path);
std::string FileDrivePart(const std::string& path);
std::string FileNamePart(const std::string& path);
std::string FileDirPart(const std::string& path);

class String_ : public Type_ {
public:
    String_();

    VAR_* GetIndex(VAR_* key) override;
    VAR_* GetRange(VAR_* from, VAR_* to) override;
    void SetIndex(VAR_* key, VAR_* value) override;
    void SetRange(VAR_* from, VAR_* to, VAR_* value) override;
    std::string GetStr() override;
    void SetStr(const std::string& text) override;
    CellData NewData() override;
    std::string GetTypeName() override;
    void FreeData(CellData& data) override;
    VAR_* CallArgs(GrafVarArray* args) override;
    void SetCallName() override;
    void Create() override;
    bool IsNull() override;
    bool IsEmpty() override;
    void CopyData(const CellData& src, CellData& dst) override;
    void Adopt(Type_* previous) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;
    int32_t Size() override;
    bool GetBool() override;
    int64_t GetInt() override;
    long double GetFloat() override;
    Variant GetVariant() override;
    void SetBool(bool value) override;
    void SetInt(int64_t value) override;
    void SetFloat(double value) override;
    VAR_* Inc() override;
    VAR_* Dec() override;
    VAR_* Neg() override;
    VAR_* Not() override;
    VAR_* BitNot() override;
    VAR_* Add(VAR_* arg) override;
    VAR_* Sub(VAR_* arg) override;
    VAR_* Mul(VAR_* arg) override;
    VAR_* Divide(VAR_* arg) override;
    VAR_* IntDiv(VAR_* arg) override;
    VAR_* Mod(VAR_* arg) override;
    VAR_* Shl(VAR_* arg) override;
    VAR_* Shr(VAR_* arg) override;
    VAR_* BitAnd(VAR_* arg) override;
    VAR_* BitOr(VAR_* arg) override;
    VAR_* BitXor(VAR_* arg) override;
    bool Equal(VAR_* arg) override;
    bool NotEqual(VAR_* arg) override;
    bool Greater(VAR_* arg) override;
    bool GreaterEqual(VAR_* arg) override;
    bool Less(VAR_* arg) override;
    bool LessEqual(VAR_* arg) override;
    VAR_* GetPosition() override;
    void SetPosition(VAR_* position) override;
    VAR_* Element() override;
    bool IsEOF() override;
    void First() override;
    void Next() override;
    void Prev() override;
    void Last() override;

private:
    std::string& Text();
    // A position given by a script integer: low 32 bits, negatives from the end.
    int64_t Position(VAR_* key);
    // Ordering against the right operand: lengths against numbers, bytes against texts.
    int Compare(VAR_* arg);
    // The text members (Upper, Trim, file-name parts, ...); nil for other names.
    VAR_* TextMember(const std::string& name);
};
