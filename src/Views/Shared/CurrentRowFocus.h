#pragma once

class QWidget;

namespace tremlor {

// Tells a screen reader, once the list has told of itself, that its current row (the list's
// accessible focus child) has the keyboard. Call it as the list takes the keyboard: Qt tells only
// of the list then, and the reader would not say on which row it is.
void tellCurrentRow(QWidget* list);

} // namespace tremlor
