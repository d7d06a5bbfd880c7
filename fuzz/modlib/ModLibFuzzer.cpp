// Arbitrary bytes through the module library's load, then the queries the player makes of a
// loaded module, and a short render of whatever loaded (directly, without the audio thread).

#include "audio/ModLib.h"
#include "audio/ModulePlayer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    ::setenv("VODEZARU_AUDIO_OUT", "null", 1); // never a sound card, never a file
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    if (vd::modlib_load_from_memory(bytes)) {
        const char* name = MODLIB_MusicGetName();
        volatile std::size_t name_length = std::strlen(name);
        (void)name_length;
        const std::int32_t orders = MODLIB_MusicGetLength(0);
        MODLIB_MusicSetPosition(orders > 1 ? 65537 : 0);
        (void)MODLIB_MusicGetPosition();

        vd::ModulePlayer player(bytes);
        player.play();
        std::vector<float> block(2 * 256);
        for (int i = 0; i < 4 && player.render(block) == 256; ++i) {
        }
    }
    MODLIB_Free();
    return 0;
}
