#pragma once
// What assistive technology (screen readers, QAccessible's tree) learns of the skinned frame's
// chrome: the menu bar is a menu bar whose titles are menu items that open their menus, and the
// title bar, which paints its buttons itself, lists them as buttons that can be pressed.

namespace vocafetch {

// Registers the interfaces of TsuiTitleBar, TsuiFormMenuBar and TsuiMenuBarButton with
// QAccessible; the first call does it, later ones nothing. Their constructors call it.
void installChromeAccessibility();

} // namespace vocafetch
