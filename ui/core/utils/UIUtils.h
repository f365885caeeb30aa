#pragma once
// All utility types of the framework in one include.

#include "utils/UIArray.h"
#include "utils/UIBusyCursor.h"
#include "utils/UIConvert.h"
#include "utils/UIGeometry.h"
#include "utils/UIString.h"
#include "utils/UIStringMap.h"
