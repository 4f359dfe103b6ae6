// Sound cues through Qt Multimedia.
#pragma once

#include "soundplayer.h"

#include <memory>

namespace platform {

class QtSoundPlayer final : public SoundPlayer
{
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer &) = delete;
    QtSoundPlayer &operator=(const QtSoundPlayer &) = delete;

    void play(const char *fileName) override;

private:
    struct Cues;
    std::unique_ptr<Cues> cues_;
};

} // namespace platform
