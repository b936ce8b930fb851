// The six functions the catalogue program calls, as integrators see them
// (QelSW99_3D.h, shipped with the plug-in); exported under their plain names
// through QelSW99_3D.def.
#pragma once

#include "entry/QelSW99_3D.h"
