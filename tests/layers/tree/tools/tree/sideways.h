// Two tools of the same level do not include each other.
#pragma once
#include "tools/title/peer.h"
