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
    EnsureTreeType();
}

VAR_* RegisterTreeFunction() {
    CallOwner.clear();
    CallName = "Tree";
    VAR_* cell = NewFunction(MethodRecord{TreeFunction, nullptr}, nullptr);
    CallName.clear();
    System->AddCell("Tree", cell);
    return cell;
}

void StopTreeLibrary() { CloseAllTrees(); }
