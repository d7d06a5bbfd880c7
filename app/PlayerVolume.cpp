#include "app/PlayerVolume.h"

#include "app/Settings.h"
#include "framework/Controls.h"
#include "player/AudioOutput.h"

#include <algorithm>

namespace vd {

PlayerVolume::PlayerVolume(AudioOutput& output) : output_(output) {
    percent_ = static_cast<int>(output_.volume() * kMaxPercent + 0.5f);
}

void PlayerVolume::SetPercent(int percent) {
    percent = std::clamp(percent, 0, kMaxPercent);
    if (percent == percent_)
        return;
    percent_ = percent;
    output_.set_volume(static_cast<float>(percent_) / kMaxPercent);
    if (OnChange)
        OnChange();
}

void PlayerVolume::Wheel(int wheel_delta) {
    wheel_rest_ += wheel_delta;
    const int notches = wheel_rest_ / kWheelDelta;
    wheel_rest_ -= notches * kWheelDelta;
    if (notches != 0)
        SetPercent(percent_ + notches * kPercentPerNotch);
}

std::string PlayerVolume::SettingText() const {
    return std::to_string(percent_);
}

std::optional<int> PlayerVolume::FromSetting(std::string_view text) {
    const std::optional<int> value = ParseDecimal(text);
    if (!value)
        return std::nullopt;
    return std::clamp(*value, 0, kMaxPercent);
}

} // namespace vd
