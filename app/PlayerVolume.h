#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vd {

// The player's own playback volume in whole percent, 0 to 100, applied in the audio output's
// mixer (the system mixer stays as the person set it). The mouse wheel over the skin and the
// desktop's media controls change it; the settings file keeps it. GUI thread only.
class PlayerVolume {
public:
    static constexpr int kMaxPercent = 100;
    // One wheel notch turns the volume by this much.
    static constexpr int kPercentPerNotch = 5;

    // `apply_gain` hands the volume (0 to 1) to the audio output; the volume starts full.
    explicit PlayerVolume(std::function<void(float gain)> apply_gain);

    [[nodiscard]] int Percent() const { return percent_; }
    // Clamps to 0..100, applies the value and tells OnChange when it changed.
    void SetPercent(int percent);
    // A wheel turn over the skin (120 a notch, positive away from the person: louder). Turns of
    // high-resolution wheels add up until they make a notch.
    void Wheel(int wheel_delta);

    // The settings file's text for the volume, and the volume its text gives (nothing when the
    // text is missing or not a number, so that older files keep the full volume).
    [[nodiscard]] std::string SettingText() const;
    [[nodiscard]] static std::optional<int> FromSetting(std::string_view text);

    std::function<void()> OnChange;

private:
    std::function<void(float)> apply_gain_;
    int percent_ = kMaxPercent;
    int wheel_rest_ = 0;
};

} // namespace vd
