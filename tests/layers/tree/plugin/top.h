// The top layer includes what lies below it: allowed.
#pragma once
#include <vector>

#include "framework/upward.h"
#include "tools/title/peer.h"
