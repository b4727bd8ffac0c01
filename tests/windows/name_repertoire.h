#pragma once
// Names for comparing the name order with Windows' own: several thousand,
// the same on every run, drawn from a wide repertoire (accented letters
// precomposed and decomposed, ligatures, dashes, quotation marks, other
// punctuation, digits of other widths and scripts, full- and half-width
// forms, kana with their marks, CJK, characters outside the BMP, case
// pairs). Many come in families that differ in one character only, the
// spellings that orders most often disagree on.
#include <string>
#include <vector>

namespace repertoire {

std::vector<std::u32string> names();

}
