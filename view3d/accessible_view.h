#pragma once
// How the 3D view presents itself to assistive technology such as screen
// readers: one graphic, named by the program after the picture it shows.

namespace view3d {

// Installed once, by the program, before its first window is shown.
void installAccessibleView();

}
