#pragma once
// The publisher's public keys that an update's manifest must be signed with.
// They are fixed when the program is built (CMake cache QD_UPDATE_PUBLIC_KEY):
// the build generates the one source that defines BuiltInUpdateKeys, and
// nothing at run time can change them. With no key the updater takes the
// unsigned road.

#include <vector>

#include "platform/signature.h"

using TTrustedKeys = std::vector<platform::TP256PublicKey>;

// The keys built into this program, possibly none.
TTrustedKeys BuiltInUpdateKeys();
