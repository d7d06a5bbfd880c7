#include "app/PlayerVolume.h"

#include "app/Settings.h"
#include "framework/Controls.h"

#include <algorithm>

namespace vd {

PlayerVolume::PlayerVolume(std::function<void(float gain)> apply_gain)
    : apply_gain_(std::move(apply_gain)) {}

void PlayerVolume::SetPercent(int percent) {
    percent = std::clamp(percent, 0, kMaxPercent);
    if (percent == percent_)
        return;
    percent_ = percent;
    apply_gain_(static_cast<float>(percent_) / kMaxPercent);
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
