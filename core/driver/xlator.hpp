// The run driver now lives in core/run; this name stays for callers that
// still include it from here.
#pragma once

#include "core/run/xlator.hpp"
