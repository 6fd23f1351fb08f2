#pragma once

#include <QString>

namespace tremlor {

// Plays the program's short named sounds ("Pop"). Never blocks; unknown names and a missing
// audio device play nothing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString& name) = 0;
};

} // namespace tremlor
