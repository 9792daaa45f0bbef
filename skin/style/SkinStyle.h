#pragma once
// Everything a skinned control needs to read its look: styles and entries, built-in look-ups,
// theme files, style resolution, the properties by name and parent background painting.

#include "skin/controls/PaintParentBackground.h"
#include "skin/style/BuiltinStyleTable.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleProperties.h"
#include "skin/style/StyleResolve.h"
#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiUIStyle.h"
