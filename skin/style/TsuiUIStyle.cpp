#include "skin/style/TsuiUIStyle.h"

#include "skin/style/BuiltinStyleTable.h"

#include <QString>

#include <array>

using namespace vocafetch;

namespace {

constexpr const char *kKeyNames[StyleEntry::Count] = {
    "ButtonImage",
    "ButtonTransparentBool",
    "CheckBoxImage",
    "RadioButtonImage",
    "TitleBarButtonImage",
    "TitleBarButtonTransparentBool",
    "TitleBarButtonLeftOffsetInt",
    "TitleBarButtonRightOffsetInt",
    "TitleBarButtonTopInt",
    "TitleBarLeftImage",
    "TitleBarClientImage",
    "TitleBarRightImage",
    "FormMinWidthInt",
    "FormRoundCornerInt",
    "FormBackgroundColor",
    "FormBorderColor",
    "FormBorderWidthInt",
    "MenuSelectedBorderColor",
    "MenuSelectedBackgroundColor",
    "MenuSelectedFontColor",
    "MenuBackgroundColor",
    "MenuFontColor",
    "MenuBarColor",
    "ProgressBarImage",
    "ControlBorderColor",
    "ControlBackgroundColor",
    "ControlFontColor",
    "TrackBarBarImage",
    "TrackBarSliderImage",
    "TrackBarSliderVImage",
    "ScrollBarBackgroundColor",
    "ScrollBarButtonImage",
    "ScrollBarSliderImage",
    "CheckListBoxImage",
    "ToolBarButtonBorderColor",
    "ToolBarButtonBackgroundColor",
    "ToolBarButtonDownBackgroundColor",
    "ScrollButtonImage",
    "TabControlTabImage",
    "TabControlBarImage",
    "SideChannelHandleImage",
    "SideChannelBarImage",
};

bool isEntry(int n)
{
    return n >= StyleEntry::First && n <= StyleEntry::Last;
}

} // namespace

const char *vocafetch::StyleEntryKeyName(int n)
{
    return isEntry(n) ? kKeyNames[n - 1] : nullptr;
}

const QString &vocafetch::StyleEntryKey(int n)
{
    // Theme reads look entries up by key many times over: each key is converted once.
    static const auto keys = [] {
        std::array<QString, StyleEntry::Count + 1> all; // all[0]: no entry
        for (int k = StyleEntry::First; k <= StyleEntry::Last; ++k)
            all[k] = QString::fromLatin1(kKeyNames[k - 1]);
        return all;
    }();
    return keys[isEntry(n) ? n : 0];
}

int vocafetch::StyleEntryFromKeyName(const QString &key)
{
    for (int n = StyleEntry::First; n <= StyleEntry::Last; ++n) {
        if (key == QLatin1String(kKeyNames[n - 1]))
            return n;
    }
    return 0;
}

StyleEntryKind vocafetch::StyleEntryKindOf(int n)
{
    return isEntry(n) ? BuiltinStyleTable::kinds()[n - 1] : StyleEntryKind::Integer;
}
