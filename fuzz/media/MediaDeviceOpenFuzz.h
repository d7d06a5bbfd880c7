#pragma once

// Opens a media device's decoder on arbitrary bytes, as the command layer does for a file, and
// plays a little of it: the start, a seek into the middle, the end. Every failure must be an
// MciError; nothing may crash, hang or read out of bounds.

#include "audio/MciDeviceType.h"
#include "audio/MciError.h"

#include <cstdlib>
#include <span>
#include <vector>

namespace vd::fuzz {

inline void open_and_play(MciDeviceType type, const std::uint8_t* data, std::size_t size) {
    try {
        auto decoder = open_mci_decoder(type, MciByteSource::from_memory(std::span(data, size)));
        std::vector<float> block(2 * 1024);
        const auto length = decoder->length_frames();
        std::size_t frames = 0;
        for (int i = 0; i < 4; ++i)
            frames += decoder->read(block);
        if (frames > length)
            std::abort(); // more than the declared length
        decoder->seek(length / 2);
        (void)decoder->read(block);
        decoder->seek(length > 100 ? length - 100 : 0);
        int blocks = 0;
        while (decoder->read(block) == 1024) {
            if (++blocks > 64)
                std::abort(); // the end does not come
        }
        decoder->halt();
    } catch (const MciError&) {
    }
}

} // namespace vd::fuzz
