// What the two deletion walks share; not part of the engine's interface.
#pragma once
#include "engine/BootDelete.h"
#include "engine/DeleteWalk.h"

namespace walkshared {

const ULONG kNameBytes = 65536 + 16; // the longest name the system has, with its count

void CountStay(WalkTally* tally, Undeleted why, bool readOnly);

} // namespace walkshared
