#pragma once
// The host compiles against the very header extension authors get, so a
// signature that drifted from the published contract does not build.
#include "../../sdk/trovik.h"
