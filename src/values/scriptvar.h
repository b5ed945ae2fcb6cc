// The value cell and the type protocol.
//
// A cell (VAR_) holds a payload and points to a type object; all behaviour
// is a virtual slot of the type (Type_). There is one object per type, and
// it works on its current cell (Cur), which a cell installs for the length
// of each call through the binding stack. The 60 slots keep a fixed order;
// types override what they need and inherit the rest, and the base Type_
// is itself the type of the Null value.
//
// Ownership: a table owns the cells stored in it; an operation returns
// either its operand (Cur) or a temporary cell (Temp) that the consumer
// releases with Release().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "values/GrafArray.h"
#include "values/ScriptError.h"
#include "values/Variant.h"

class Type_;

// The payload. Scalars live inline; other types keep a pointer to what they
// allocate. Only the type reads, copies and frees it.
union CellData {
    void* ptr;
    int64_t i;
    double f;
};

// Class membership of a type, for dump tags and quick tests.
enum class TypeKind : uint8_t { Null, Int, Float, Bool, String, Function, Object, Variant };

struct VAR_ {
    // Pointers first and the flags packed at the end: a cell is 72 bytes,
    // and large arrays hold one per entry.
    Type_* Type = nullptr;
    std::string TypeName;       // copied from the type when the payload is made
    GrafVarArray* Props = nullptr;  // attributes of this value, made on first use
    CellData Data{};
    int32_t IterPos = 0;        // iteration position of a string or integer value
    bool Bound = false;         // installed as its type's Cur, owes an Unbind
    bool Temp = false;          // the consumer destroys it through Release
    bool ExclusiveEnd = false;  // set just before a range operation, cleared by it

    virtual ~VAR_();
    virtual void Release();     // destroys the cell when Temp

    static VAR_* Create(Type_* type, bool temp);
    void Destroy();

    VAR_* Assign(VAR_* src);
    VAR_* AssignFrom(VAR_* src);
    VAR_* Copy();
    void ClearData();
    VAR_* Retype(Type_* type);
    VAR_* MakeBool(bool value);
    VAR_* MakeInt(int64_t value);
    VAR_* ParseLiteral(const std::string& text, bool extended);
    void Unescape();

    void Bind();
    void Unbind();
    // Gives the cell a fresh payload of its current type (cell bound).
    void MakePayload();

    // Slot wrappers: bind, call the slot of this cell's type, unbind.
    VAR_* GetIndex(VAR_* key);
    VAR_* GetRange(VAR_* from, VAR_* to);
    void SetIndex(VAR_* key, VAR_* value);
    void SetRange(VAR_* from, VAR_* to, VAR_* value);
    std::string GetStr();
    // Appends GetStr's text to `out` (integers and texts without a
    // temporary string: dumps call this for every entry).
    void AppendStr(std::string& out);
    void SetStr(const std::string& text);
    VAR_* CallArgs(GrafVarArray* args);
    bool IsNull();
    bool IsEmpty();
    VAR_* Method(const std::string& name, VAR_* arg, bool write);
    bool HasMethod(const std::string& name);
    int32_t Size();
    bool GetBool();
    int64_t GetInt();
    long double GetFloat();
    Variant GetVariant();
    void SetBool(bool value);
    void SetInt(int64_t value);
    void SetFloat(double value);
    void SetVariant(const Variant& value);
    VAR_* Inc();
    VAR_* Dec();
    VAR_* Neg();
    VAR_* Not();
    VAR_* BitNot();
    VAR_* Add(VAR_* arg);
    VAR_* Sub(VAR_* arg);
    VAR_* Mul(VAR_* arg);
    VAR_* Divide(VAR_* arg);
    VAR_* IntDiv(VAR_* arg);
    VAR_* Mod(VAR_* arg);
    VAR_* Shl(VAR_* arg);
    VAR_* Shr(VAR_* arg);
    VAR_* And(VAR_* arg);
    VAR_* Or(VAR_* arg);
    VAR_* Xor(VAR_* arg);
    VAR_* BitAnd(VAR_* arg);
    VAR_* BitOr(VAR_* arg);
    VAR_* BitXor(VAR_* arg);
    bool Equal(VAR_* arg);
    bool NotEqual(VAR_* arg);
    bool Greater(VAR_* arg);
    bool GreaterEqual(VAR_* arg);
    bool Less(VAR_* arg);
    bool LessEqual(VAR_* arg);
    VAR_* GetPosition();
    void SetPosition(VAR_* position);
    VAR_* Element();
    bool IsEOF();
    void First();
    void Next();
    void Prev();
    void Last();

    // Convenience for the consumers of Kind.
    bool Is(TypeKind kind) const;
    const char* TypeTag() const;

    // Cells come from a pool of cell-sized slots: temporaries are made and
    // dropped for almost every operation the machine performs.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);
};

class Type_ {
public:
    Type_();
    virtual ~Type_();
    Type_(const Type_&) = delete;
    Type_& operator=(const Type_&) = delete;

    virtual VAR_* GetIndex(VAR_* key);                          // 0
    virtual VAR_* GetRange(VAR_* from, VAR_* to);               // 1
    virtual void SetIndex(VAR_* key, VAR_* value);              // 2
    virtual void SetRange(VAR_* from, VAR_* to, VAR_* value);   // 3
    virtual std::string GetStr();                               // 4
    virtual void SetStr(const std::string& text);               // 5
    virtual CellData NewData();                                 // 6
    virtual std::string GetTypeName();                          // 7
    virtual void FreeData(CellData& data);                      // 8
    virtual VAR_* CallArgs(GrafVarArray* args);                 // 9
    virtual void SetCallName();                                 // 10
    virtual void Create();                                      // 11
    virtual bool IsNull();                                      // 12
    virtual bool IsEmpty();                                     // 13
    virtual void CopyData(const CellData& src, CellData& dst);  // 14
    virtual void Adopt(Type_* previous);                        // 15
    virtual VAR_* Method(const std::string& name, VAR_* arg, bool write);  // 16
    virtual bool HasMethod(const std::string& name);            // 17
    virtual int32_t Size();                                     // 18
    virtual bool GetBool();                                     // 19
    virtual int64_t GetInt();                                   // 20
    virtual long double GetFloat();                             // 21
    virtual Variant GetVariant();                               // 22
    virtual void SetBool(bool value);                           // 23
    virtual void SetInt(int64_t value);                         // 24
    virtual void SetFloat(double value);                        // 25
    virtual void SetVariant(const Variant& value);              // 26
    virtual VAR_* Inc();                                        // 27
    virtual VAR_* Dec();                                        // 28
    virtual VAR_* Neg();                                        // 29
    virtual VAR_* Not();                                        // 30
    virtual VAR_* BitNot();                                     // 31
    virtual VAR_* Add(VAR_* arg);                               // 32
    virtual VAR_* Sub(VAR_* arg);                               // 33
    virtual VAR_* Mul(VAR_* arg);                               // 34
    virtual VAR_* Divide(VAR_* arg);                            // 35
    virtual VAR_* IntDiv(VAR_* arg);                            // 36
    virtual VAR_* Mod(VAR_* arg);                               // 37
    virtual VAR_* Shl(VAR_* arg);                               // 38
    virtual VAR_* Shr(VAR_* arg);                               // 39
    virtual VAR_* And(VAR_* arg);                               // 40
    virtual VAR_* Or(VAR_* arg);                                // 41
    virtual VAR_* Xor(VAR_* arg);                               // 42
    virtual VAR_* BitAnd(VAR_* arg);                            // 43
    virtual VAR_* BitOr(VAR_* arg);                             // 44
    virtual VAR_* BitXor(VAR_* arg);                            // 45
    virtual bool Equal(VAR_* arg);                              // 46
    virtual bool NotEqual(VAR_* arg);                           // 47
    virtual bool Greater(VAR_* arg);                            // 48
    virtual bool GreaterEqual(VAR_* arg);                       // 49
    virtual bool Less(VAR_* arg);                               // 50
    virtual bool LessEqual(VAR_* arg);                          // 51
    virtual VAR_* GetPosition();                                // 52
    virtual void SetPosition(VAR_* position);                   // 53
    virtual VAR_* Element();                                    // 54
    virtual bool IsEOF();                                       // 55
    virtual void First();                                       // 56
    virtual void Next();                                        // 57
    virtual void Prev();                                        // 58
    virtual void Last();                                        // 59

    // The default member access (reads and writes of members every value
    // has); types with members of their own fall back to it.
    VAR_* DefaultMethod(const std::string& name, VAR_* arg, bool write);
    bool DefaultHasMethod(const std::string& name);

    GrafFuncArray Methods;
    VAR_* Cur = nullptr;
    TypeKind Kind = TypeKind::Null;
};

// The type singletons, created at start in this order and destroyed at exit.
struct TypeRegistry {
    Type_* Null = nullptr;
    Type_* Int = nullptr;
    Type_* Float = nullptr;
    Type_* Bool = nullptr;
    Type_* String = nullptr;
    Type_* Function = nullptr;
    Type_* Object = nullptr;
    Type_* Array = nullptr;
    Type_* Variant = nullptr;
};
extern TypeRegistry Types;

// Names of the call being composed into a function value's type name.
extern std::string CallOwner;
extern std::string CallName;

// The global value tables.
extern GrafVarArray* Globals;
extern GrafVarArray* Consts;
extern GrafVarArray* System;

// Temporary constructors (each returns a new Temp cell).
VAR_* NewNull();
VAR_* NewStr(std::string text);
VAR_* NewInt(int64_t value);
VAR_* NewFloat(double value);
VAR_* NewBool(bool value);
VAR_* NewFromVariant(const Variant& value);
VAR_* NewLiteral(const std::string& text, bool extended);
// A function value for a method found in a type's Methods; the current
// cell of the finding type is its owner. Defined with the Function type.
VAR_* NewFunction(const MethodRecord& record, VAR_* owner);

// Creates the built-in type singletons (defined with the built-in types).
void CreateBuiltinTypes();
void DestroyBuiltinTypes();

// Escape and format expansion of string literals (defined with the String type).
std::string UnescapeText(const std::string& text);

// Value model start-up and shutdown: singletons, Globals, Consts, System.
void StartValueModel(const std::string& exePath, const std::string& currentDir);
void StopValueModel();

// RAII holder for a temporary result: releases it at scope end.
class TempRef {
public:
    explicit TempRef(VAR_* cell = nullptr) : cell_(cell) {}
    TempRef(const TempRef&) = delete;
    TempRef& operator=(const TempRef&) = delete;
    ~TempRef() { if (cell_) cell_->Release(); }
    VAR_* get() const { return cell_; }
    VAR_* operator->() const { return cell_; }
    VAR_* release() { VAR_* c = cell_; cell_ = nullptr; return c; }
    void reset(VAR_* cell) { if (cell_ && cell_ != cell) cell_->Release(); cell_ = cell; }
private:
    VAR_* cell_;
};
