// PLACEHOLDER: replaced by the string encoding stage.
#include "packer.h"

void trimlet::EncodeStrings() {}
