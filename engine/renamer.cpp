// PLACEHOLDER: replaced by the renaming stage.
#include "packer.h"

void trimlet::ChangeVars() {}
void trimlet::RenameVar(pack::TokenIterator, int32_t) {}
int32_t trimlet::NewVarName() { return -1; }
