#include "app/flick_hook.h"
#include "app/form1.h"

void installFlickHook(TForm1&)
{
}
