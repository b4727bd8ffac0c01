#pragma once
class TForm1;

// Lets pen and touch flicks over the main window step the ring: a flick to
// the left acts as Next, to the right as Previous. Installed once, as the
// last step of the window's creation, and kept for the window's life.
void installFlickHook(TForm1& form);
