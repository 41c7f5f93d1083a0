// The COM header that a Windows build reaches through windows.h (via ole2.h):
// here it only brings in the base interfaces of unknwn.h.
#pragma once

#include "unknwn.h"
