// Start-up and shutdown of the script ODBC objects.
#include "odbc/OdbcLibrary.h"

namespace {

ClassODBC* liveCreator = nullptr;

// Forgets the creator when its owner destroys it.
class TrackedCreator : public ClassODBC {
public:
    TrackedCreator() { liveCreator = this; }
    ~TrackedCreator() override {
        if (liveCreator == this) liveCreator = nullptr;
    }
};

}  // namespace

std::unique_ptr<ClassCreator> MakeOdbcCreator() {
    EnsureVarODBCType();
    return std::make_unique<TrackedCreator>();
}

void StopOdbcLibrary() {
    if (liveCreator) liveCreator->Shutdown();
}

ClassODBC* CurrentOdbcCreator() { return liveCreator; }
