#pragma once

#include <cstdint>
#include <string_view>

namespace vd {

// Equal under the user's locale without regard to letter case (names of skin graphics).
[[nodiscard]] bool AnsiSameText(std::string_view a, std::string_view b);

// Stores `value` in `field` unless it holds that value already, and says whether it stored: a
// property setter does nothing (no repaint, no refresh) when given the value it has.
template <class T, class U>
[[nodiscard]] bool StoreIfChanged(T& field, const U& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

// A minimum, maximum and position kept so that Min < Max and Min <= Position <= Max: limits
// that would break it are ignored, positions are clamped.
class TVsRange {
public:
    // What a setter asks of its control.
    enum class Effect { None, Repaint, PositionChanged };

    [[nodiscard]] int32_t Min() const { return min_; }
    [[nodiscard]] int32_t Max() const { return max_; }
    [[nodiscard]] int32_t Position() const { return position_; }

    // A minimum equal to the current one or not below the maximum is ignored; a minimum above
    // the position moves the position up to it.
    Effect SetMin(int32_t value);
    // A maximum equal to the current one or not above the minimum is ignored; a maximum below the
    // position moves the position down to it.
    Effect SetMax(int32_t value);
    // Clamps into the range; a position equal to the current one changes nothing.
    Effect SetPosition(int32_t value);

private:
    int32_t min_ = 0;
    int32_t max_ = 100;
    int32_t position_ = 0;
};

} // namespace vd
