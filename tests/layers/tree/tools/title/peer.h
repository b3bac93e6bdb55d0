// Includes of the own layer and of the host interfaces: allowed.
#pragma once
#include "host/com.h"
#include "tools/title/peer.h"
