#pragma once
// The failure of reading a theme file, with a message naming the file and the reason. It stays
// inside the theme loader: its one public entry turns it into "the old theme stays".

#include "skin/style/SkinError.h"

namespace vocafetch {

class ThemeError : public SkinError
{
public:
    using SkinError::SkinError;
};

} // namespace vocafetch
