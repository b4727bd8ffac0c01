#pragma once
// The user locale's name order that the picture list sorts by: on Windows
// the platform's own comparison, elsewhere LocaleCompare, which reproduces
// it. Both give sort keys one by one and through a KeyMaker.
#ifdef _WIN32
#include "order/compare_win.h"
#else
#include "order/locale_compare.h"
#endif

namespace order {

#ifdef _WIN32
using NameOrder = WindowsNameOrder;

inline NameOrder userNameOrder()
{
    return {};
}
#else
using NameOrder = LocaleCompare;

// Made once by whoever keeps the list: it reads the environment.
inline NameOrder userNameOrder()
{
    return NameOrder(userLocaleName());
}
#endif

}
