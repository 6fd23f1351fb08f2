#pragma once

class QComboBox;

namespace tremlor {

// Lets screen readers hear `box` with its chosen item as its value. Qt 6.4 offers neither a
// text nor a selection for a combo box that cannot be edited, and without one Orca speaks only
// "combo box". The box is named by its label's buddy relation, as any other control.
void tellChosenItem(QComboBox* box);

} // namespace tremlor
