// The background sound: a WAV file played once on a device opened for the file's own format.
#include "platform/sdl2/Sdl2Internal.h"

namespace platform {

void PlaySoundFileAsync(const char* fileName) {
    if (fileName == nullptr ||
        (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)) {
        return;
    }
    SDL_AudioSpec format{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(fileName, &format, &samples, &length) == nullptr) {
        return;  // missing or unreadable: silence
    }
    // No changes allowed: SDL converts to whatever the hardware plays.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
    if (device != 0) {
        // The device stays open for the rest of the run: closing it would cut the sound off.
        if (SDL_QueueAudio(device, samples, length) == 0) {
            SDL_PauseAudioDevice(device, 0);
        } else {
            SDL_CloseAudioDevice(device);
        }
    }
    SDL_FreeWAV(samples);
}

}  // namespace platform
