#pragma once

#include "Platform/SoundPlayer.h"

#include <QString>

#include <memory>

namespace tremlor {

namespace dispatch {
class SerialQueue;
}

// Plays the program's own sound files (e.g. "Pop" from Pop.wav) through libcanberra, on a
// queue of its own so the main thread never waits for the audio system.
class CanberraSoundPlayer final : public SoundPlayer {
public:
    // soundsFolder: where the named files are (empty: the "sounds" folder beside the
    // executable, else the installed share/tremlor/sounds).
    explicit CanberraSoundPlayer(QString soundsFolder = {});
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void play(const QString& name) override;

    // The file for a sound name, or empty when there is none.
    QString fileFor(const QString& name) const;
    // Waits until every sound requested so far was handed to the audio system.
    void flush();

private:
    QString m_folder;
    std::unique_ptr<dispatch::SerialQueue> m_queue;
    struct Context;
    std::shared_ptr<Context> m_context; // used only on m_queue
};

} // namespace tremlor
