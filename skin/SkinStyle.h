#pragma once
// Everything a skinned control needs to read its look: styles and entries, built-in look-ups,
// theme files, style resolution, the properties by name and parent background painting.

#include "BuiltinStyleTable.h"
#include "PaintParentBackground.h"
#include "StyleLookup.h"
#include "StyleProperties.h"
#include "StyleResolve.h"
#include "TsuiFileTheme.h"
#include "TsuiUIStyle.h"
