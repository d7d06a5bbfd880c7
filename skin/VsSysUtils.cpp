#include "skin/VsSysUtils.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <string>

namespace vd {

namespace {

// Decodes `s` under the current locale; bytes that do not decode stand for themselves.
std::wstring Widen(std::string_view s) {
    std::wstring out;
    std::mbstate_t state{};
    std::size_t i = 0;
    while (i < s.size()) {
        wchar_t wc = 0;
        const std::size_t n = std::mbrtowc(&wc, s.data() + i, s.size() - i, &state);
        if (n == 0 || n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
            out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(s[i])));
            state = std::mbstate_t{};
            ++i;
        } else {
            out.push_back(wc);
            i += n;
        }
    }
    return out;
}

} // namespace

bool AnsiSameText(std::string_view a, std::string_view b) {
    if (a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
            const auto ux = static_cast<unsigned char>(x);
            const auto uy = static_cast<unsigned char>(y);
            return ux < 0x80 && uy < 0x80 && std::tolower(ux) == std::tolower(uy);
        }))
        return true;
    const std::wstring wa = Widen(a);
    const std::wstring wb = Widen(b);
    return std::equal(wa.begin(), wa.end(), wb.begin(), wb.end(), [](wchar_t x, wchar_t y) {
        return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
    });
}

TVsRange::Effect TVsRange::SetMin(int32_t value) {
    if (value == min_ || value >= max_)
        return Effect::None;
    min_ = value;
    if (value > position_)
        return SetPosition(value);
    return Effect::Repaint;
}

TVsRange::Effect TVsRange::SetMax(int32_t value) {
    if (value == max_ || value <= min_)
        return Effect::None;
    max_ = value;
    if (value < position_)
        return SetPosition(value);
    return Effect::Repaint;
}

TVsRange::Effect TVsRange::SetPosition(int32_t value) {
    value = std::clamp(value, min_, max_);
    if (value == position_)
        return Effect::None;
    position_ = value;
    return Effect::PositionChanged;
}

} // namespace vd
