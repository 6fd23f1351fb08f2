#pragma once

#include <QFont>

namespace kestu {

// The system font at a size in points (pixels) and weight.
QFont systemFont(int pixelSize, QFont::Weight weight = QFont::Normal);
// The monospaced system font at a size in points and weight.
QFont monospacedSystemFont(int pixelSize, QFont::Weight weight = QFont::Normal);

// Factories of the custom typeface; each call builds a new font. The ns… ones fall back to a
// system font when the face did not register; the others keep the face name and leave the
// fallback to Qt.
class KestuFont final {
public:
    KestuFont() = delete;

    static QFont displayLarge();
    static QFont display();
    static QFont title();
    static QFont subtitle();

    static QFont nsDisplayLarge();
    static QFont nsDisplay();
    static QFont nsTitle();
    static QFont nsSubtitle();
};

// The kit's font tokens, built once on first read on the GUI thread. The first four register
// the kit's fonts first if nothing has yet.
namespace Font {
const QFont& displayLarge();
const QFont& display();
const QFont& title();
const QFont& subtitle();
const QFont& headline();
const QFont& body();
const QFont& callout();
const QFont& caption();
const QFont& tag();
const QFont& mono();
const QFont& monoLarge();
} // namespace Font

} // namespace kestu
