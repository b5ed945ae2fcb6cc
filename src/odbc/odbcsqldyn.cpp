#include "odbc/odbcsqldyn.h"

#include <dlfcn.h>

#include "values/oledate.h"

namespace {

struct BindingState {
    void* library = nullptr;
    int32_t users = 0;
    OdbcEntryTable table;
    std::vector<std::string> libraryNames = OdbcDefaultLibraryNames();
    const OdbcEntryTable* suppliedTable = nullptr;
    bool usingSuppliedTable = false;
};

BindingState& State() {
    static BindingState state;
    return state;
}

void* OpenFirstLibrary(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        // RTLD_LOCAL: the driver manager's symbols must not satisfy
        // lookups of anything else the process loads later. RTLD_NODELETE:
        // the driver manager and its drivers keep process-wide caches that
        // they never free; unmapping them would orphan those blocks (and
        // any atexit handlers a driver registered), so the image stays
        // mapped after the last release and a later load reuses it.
        if (void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) return handle;
    }
    return nullptr;
}

// Missing exports leave their entry empty; callers check the entries they
// need before the first call.
void FillTable(void* library, OdbcEntryTable& table) {
#define SCRIPTRUN_ODBC_LOOKUP(name, required) \
    table.name = reinterpret_cast<decltype(table.name)>(dlsym(library, #name));
    SCRIPTRUN_ODBC_ENTRIES(SCRIPTRUN_ODBC_LOOKUP)
#undef SCRIPTRUN_ODBC_LOOKUP
}

std::string LoadFailureText(const std::vector<std::string>& names) {
    std::string shown = names.empty() ? std::string() : names.front();
    return "Can not load ODBC client. Is it installed? (" + shown + ")";
}

}  // namespace

std::vector<std::string> OdbcDefaultLibraryNames() {
    // The versioned name is what the runtime package installs; the bare
    // name exists only where the development package is installed.
    return {"libodbc.so.2", "libodbc.so"};
}

void OdbcSetLibraryNames(std::vector<std::string> names) {
    State().libraryNames = std::move(names);
}

void OdbcUseEntryTable(const OdbcEntryTable* table) { State().suppliedTable = table; }

void OdbcBindingAcquire() {
    BindingState& state = State();
    if (++state.users != 1) return;
    if (state.suppliedTable != nullptr) {
        state.table = *state.suppliedTable;
        state.library = &state.table;  // any non-null marker: nothing to close
        state.usingSuppliedTable = true;
        return;
    }
    state.library = OpenFirstLibrary(state.libraryNames);
    if (state.library == nullptr) {
        state.users = 0;
        throw OdbcLoadError(LoadFailureText(state.libraryNames));
    }
    FillTable(state.library, state.table);
}

void OdbcBindingRelease() {
    BindingState& state = State();
    if (state.users > 0) --state.users;
    if (state.users != 0 || state.library == nullptr) return;
    if (!state.usingSuppliedTable) dlclose(state.library);
    state.usingSuppliedTable = false;
    state.library = nullptr;
    state.table = OdbcEntryTable{};
}

const OdbcEntryTable& OdbcBinding() { return State().table; }

int OdbcBindingUsers() { return State().users; }

bool OdbcBindingLoaded() { return State().library != nullptr; }

std::vector<std::string> OdbcMissingRequiredEntries() {
    std::vector<std::string> missing;
    if (!OdbcBindingLoaded()) return missing;
    const OdbcEntryTable& table = State().table;
#define SCRIPTRUN_ODBC_CHECK(name, required) \
    if (required && table.name == nullptr) missing.push_back(#name);
    SCRIPTRUN_ODBC_ENTRIES(SCRIPTRUN_ODBC_CHECK)
#undef SCRIPTRUN_ODBC_CHECK
    return missing;
}

namespace {

void RequireDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || !IsValidDate(year, month, day))
        throw std::invalid_argument("Invalid ODBC date");
}

void RequireTime(int hour, int minute, int second) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        throw std::invalid_argument("Invalid ODBC time");
}

double EncodeDate(int year, int month, int day) {
    RequireDate(year, month, day);
    DateParts parts;
    parts.year = year;
    parts.month = month;
    parts.day = day;
    return OleDateFromParts(parts);
}

// A time of day alone: the date part is 0 (30.12.1899).
double EncodeTime(int hour, int minute, int second) {
    RequireTime(hour, minute, second);
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

}  // namespace

double DateStructToDateTime(const SQL_DATE_STRUCT& date) {
    return EncodeDate(date.year, date.month, date.day);
}

double TimeStructToDateTime(const SQL_TIME_STRUCT& time) {
    return EncodeTime(time.hour, time.minute, time.second);
}

double TimestampStructToDateTime(const SQL_TIMESTAMP_STRUCT& stamp) {
    // Dates before 30.12.1899 are negative with a positive time fraction
    // in OLE dates; OleDateFromParts knows that, so let it join the parts.
    RequireDate(stamp.year, stamp.month, stamp.day);
    RequireTime(stamp.hour, stamp.minute, stamp.second);
    DateParts parts;
    parts.year = stamp.year;
    parts.month = stamp.month;
    parts.day = stamp.day;
    parts.hour = stamp.hour;
    parts.minute = stamp.minute;
    parts.second = stamp.second;
    return OleDateFromParts(parts);
}
