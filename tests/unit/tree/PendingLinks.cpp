// Stand-ins for value-model symbols whose definitions are still to come;
// weak, so the real ones take over as soon as they exist.
#include "values/scriptvar.h"

__attribute__((weak)) VAR_* NewFunction(const MethodRecord&, VAR_*) { return nullptr; }
