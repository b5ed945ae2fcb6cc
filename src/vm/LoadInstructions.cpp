// Loading values into registers: literals, strings, variables (with the
// "$" globals and the read-only copies of Consts and System) and members.
#include "compiler/OpCodes.h"
#include "vm/Machine.h"
#include "vm/VmErrors.h"

void Machine::Mov(Frame& f, VAR_* value, bool isString) {
    VAR_*& reg = f.Current();
    VAR_* old = reg;
    reg = value;
    if (old && old != value && !f.Holds(old)) old->Release();
    // A string flag belongs to the literal just loaded: any other value
    // clears it, so no value is expanded twice.
    switch (f.Selector) {
    case kSelResZ: f.StrZ = isString; break;
    case kSelR1: f.Str1 = isString; break;
    case kSelR2: f.Str2 = isString; break;
    default: break;
    }
}

// Loads a value read out of the current register's cell (a member, an
// element, a call's result). When that cell is a temporary, the value may
// live inside it, so the temporary is parked until the statement ends.
void Machine::MovDerived(Frame& f, VAR_* value) {
    VAR_*& reg = f.Current();
    VAR_* old = reg;
    reg = value;
    if (old && old != value && !f.Holds(old)) {
        if (old->Temp)
            f.KeepAlive.push_back(old);
    }
    switch (f.Selector) {
    case kSelResZ: f.StrZ = false; break;
    case kSelR1: f.Str1 = false; break;
    case kSelR2: f.Str2 = false; break;
    default: break;
    }
}

void Machine::ServeFlags(Frame& f) {
    if (f.StrZ) {
        f.StrZ = false;
        if (f.ResZ) f.ResZ->Unescape();
    }
    if (f.Str1) {
        f.Str1 = false;
        if (f.R1) f.R1->Unescape();
    }
    if (f.Str2) {
        f.Str2 = false;
        if (f.R2) f.R2->Unescape();
    }
}

void Machine::LoadLiteral(Frame& f, const std::string& text) {
    Mov(f, NewLiteral(text, true));
}

void Machine::LoadVariable(Frame& f, const std::string& name) {
    const bool global = !name.empty() && name[0] == '$';
    if (f.Selector == kSelResZ) {
        // At statement level the variable comes into existence.
        if (global) {
            if (!Globals->CellByName(name)) Globals->AddCell(name, VAR_::Create(Types.Null, false));
        } else if (!Consts->CellByName(name) && !System->CellByName(name) && !locals_->CellByName(name)) {
            locals_->AddCell(name, VAR_::Create(Types.Null, false));
        }
        f.Target = kTargetVariable;
    }
    VAR_* cell = nullptr;
    if (global) {
        cell = Globals->CellByName(name);
    } else if (VAR_* constant = Consts->CellByName(name)) {
        cell = constant->Copy();  // constants cannot be assigned
    } else if (VAR_* entry = System->CellByName(name)) {
        cell = entry->Copy();
    } else {
        cell = locals_->CellByName(name);
    }
    Mov(f, cell ? cell : NewNull());
}

void Machine::LoadMember(Frame& f, const std::string& name) {
    ServeFlags(f);
    if (f.Selector == kSelResZ) {
        f.Target = kTargetMember;
        f.ResP = name;
        // A missing member is created on the object it is read from, so
        // that it can be read here and written through ResA at the end.
        if (f.ResZ && !f.ResZ->HasMethod(name)) {
            Guarded(kSetPropertyError, [&] {
                VAR_* empty = NewNull();
                VAR_* answer = f.ResZ->Method(name, empty, true);
                if (answer != f.ResZ && answer != empty) answer->Release();
                empty->Release();
            });
        }
        f.DropDeferred(f.ResA);
        f.Drop(f.R3);
        f.Drop(f.R4);
        f.ResA = f.ResZ;
    }
    VAR_* owner = f.Current();
    VAR_* value = owner ? Guarded(kMovError, [&] { return owner->Method(name, nullptr, false); }) : NewNull();
    MovDerived(f, value);
}
