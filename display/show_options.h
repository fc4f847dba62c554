// The display choices of the Options page that the map and radar primitives obey.
#pragma once

#include "tracking/options.h"
