#include "support/MissingAssetGuard.h"

// Every screen these tests open draws with real artwork.
ZORLET_GUARD_MISSING_ASSETS();
