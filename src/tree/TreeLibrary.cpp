// Start-up and shutdown of the tree library, and the global function
// "Tree" that makes a new root.
#include "tree/varTree.h"
#include "values/TypeHelpers.h"

VAR_* TreeFunction(void*, GrafVarArray* args) {
    if (args && args->Count > 0) return NewTreeCell(ArgText(args, 0));
    return NewTreeCell("%Time% - %Date%");
}

void RegisterTreeLibrary() {
    ResetAutoCounter();
    // One type object for the whole run; it outlives every cell of its
    // type, which the value model destroys with its tables.
    static varTree singleton;
    if (!TreeType) {
        singleton.Create();
        TreeType = &singleton;
    }
}

void StopTreeLibrary() { CloseAllTrees(); }
