// A lower layer that includes the top one: forbidden.
#pragma once
#include "plugin/top.h"
