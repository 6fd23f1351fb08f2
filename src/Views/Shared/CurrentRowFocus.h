#pragma once

class QAbstractItemView;

namespace tremlor {

// Tells a screen reader, once the list has told of itself, that the current row of `view` has
// the keyboard. Call it as the list takes the keyboard: Qt tells only of the list then, and the
// reader would not say on which row it is.
void tellCurrentRow(QAbstractItemView* view);

} // namespace tremlor
