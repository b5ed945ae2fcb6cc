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
void Machine::MovDerived(Frame& f, VAR_* value, bool sourceWasTemp) {
    VAR_*& reg = f.Current();
    VAR_* old = reg;
    reg = value;
    if (old && old != value && !f.Holds(old) && (sourceWasTemp || old->Temp)) f.KeepAlive.push_back(old);
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

VAR_* Machine::LiteralAt(int32_t at, const std::string& text) {
    if (literals_.empty()) literals_.assign(size_t(count_), nullptr);
    VAR_*& prototype = literals_[size_t(at)];
    if (!prototype) {
        prototype = NewLiteral(text, true);
        prototype->Temp = false;
    }
    return prototype->Copy();
}

void Machine::LoadLiteral(Frame& f, const std::string& text) {
    Mov(f, LiteralAt(Index, text));
}

// Consts and System do not change while scripts run, so whether a name is
// one of theirs is looked up once per instruction.
Machine::NameKind Machine::KindOfName(int32_t at, const std::string& name) {
    if (nameKinds_.empty()) nameKinds_.assign(size_t(count_), NameKind::Unknown);
    NameKind& kind = nameKinds_[size_t(at)];
    if (kind == NameKind::Unknown) {
        kind = Consts->CellByName(name)   ? NameKind::Constant
               : System->CellByName(name) ? NameKind::SystemEntry
                                          : NameKind::Other;
    }
    return kind;
}

// The entry of a variable in its table, found once per instruction and
// then reached directly. The table's cursor moves exactly as a lookup by
// name moves it (it shows in dumps): onto the entry, with the wrap flag
// cleared, unless it already stood there.
VAR_* Machine::CachedEntry(GrafVarArray* table, int32_t at, const std::string& name, bool create) {
    if (entries_.empty()) entries_.assign(size_t(count_), EntryCache{});
    EntryCache& cache = entries_[size_t(at)];
    if (cache.node && cache.index < table->Count) {
        table->NotFound = false;
        if (table->CurNode != cache.node) {
            table->CurNode = cache.node;
            table->CurIndex = cache.index;
            table->Wrapped = false;
        }
        return static_cast<VAR_*>(cache.node->Value);
    }
    VAR_* cell = table->CellByName(name);
    if (!cell && create) {
        cell = VAR_::Create(Types.Null, false);
        table->AddCell(name, cell);
    }
    if (cell) cache = EntryCache{table->CurNode, table->CurIndex};
    return cell;
}

void Machine::LoadVariable(Frame& f, const std::string& name) {
    // At statement level a missing variable comes into existence.
    const bool statement = f.Selector == kSelResZ;
    VAR_* cell = nullptr;
    if (!name.empty() && name[0] == '$') {
        cell = CachedEntry(Globals, Index, name, statement);
    } else {
        switch (KindOfName(Index, name)) {
        case NameKind::Constant: cell = Consts->CellByName(name)->Copy(); break;  // read-only
        case NameKind::SystemEntry: cell = System->CellByName(name)->Copy(); break;
        default: cell = CachedEntry(locals_, Index, name, statement); break;
        }
    }
    if (statement) f.Target = kTargetVariable;
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
        f.Drop(f.R3);
        f.Drop(f.R4);
        f.SetContainer(f.ResZ);
    }
    VAR_* owner = f.Current();
    const bool ownerWasTemp = owner && owner->Temp;
    VAR_* value = owner ? Guarded(kMovError, [&] { return owner->Method(name, nullptr, false); }) : NewNull();
    MovDerived(f, value, ownerWasTemp);
}
