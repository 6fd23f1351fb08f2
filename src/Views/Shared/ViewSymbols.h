#pragma once

#include <QStringList>

namespace tremlor::ViewSymbols {

// Every system-symbol name the views draw, each with an SVG of our own.
const QStringList& names();
// Adds them to the kit's symbol table (kestu::KestuSymbols), once per process. GUI thread only.
void registerAll();

} // namespace tremlor::ViewSymbols
