#pragma once
// The information window: a reference card of Russian letter statistics (frequent doubled
// letters, bigrams, trigrams and the alternation table), painted from the fixed tables.
#include "toolkit/control.h"
#include "workspace/colouring.h"

namespace zam {

// Attaches the card's painting to the frame of the application's form ("Информация"). The
// palette is read at every paint, so a change of scheme shows at the next repaint.
void BuildInfoWindow(Control* form, const ColourPalette* palette);

}  // namespace zam
