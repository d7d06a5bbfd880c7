#pragma once

#include "framework/Component.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <type_traits>

namespace vd {

// A set of the values of a small enumeration, one bit each (bit n for the value n).
template <class E>
class TslSet {
public:
    using Bits = uint16_t;
    constexpr TslSet() = default;
    constexpr TslSet(std::initializer_list<E> values) {
        for (E v : values)
            bits_ |= Bit(v);
    }
    [[nodiscard]] static constexpr TslSet FromBits(Bits bits) {
        TslSet s;
        s.bits_ = bits;
        return s;
    }
    [[nodiscard]] constexpr Bits ToBits() const { return bits_; }
    [[nodiscard]] constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
    [[nodiscard]] constexpr bool Empty() const { return bits_ == 0; }
    constexpr TslSet& Include(E v) {
        bits_ |= Bit(v);
        return *this;
    }
    constexpr TslSet& Exclude(E v) {
        bits_ &= static_cast<Bits>(~Bit(v));
        return *this;
    }
    friend constexpr TslSet operator+(TslSet a, TslSet b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr TslSet operator-(TslSet a, TslSet b) {
        return FromBits(static_cast<Bits>(a.bits_ & ~b.bits_));
    }
    friend constexpr bool operator==(TslSet, TslSet) = default;

private:
    static constexpr Bits Bit(E v) {
        return static_cast<Bits>(1u << static_cast<std::underlying_type_t<E>>(v));
    }
    Bits bits_ = 0;
};

// Where a gradient runs from its start colour to its end colour.
enum class TslGradientDir : uint8_t {
    fgdHorizontal,     // top to bottom
    fgdVertical,       // left to right
    fgdLeftBias,       // from the top-left corner, in diagonal lines
    fgdRightBias,      // from the top-right corner, in diagonal lines
    fgdRectangle,      // from the edge inwards, in concentric frames
    fgdHorzConvergent, // start colour at top and bottom, end colour in the middle
    fgdVertConvergent, // start colour at left and right, end colour in the middle
};

enum class TslSide : uint8_t { fsdLeft, fsdTop, fsdRight, fsdBottom };
using TslSides = TslSet<TslSide>;
inline constexpr TslSides kAllSides{TslSide::fsdLeft, TslSide::fsdTop, TslSide::fsdRight,
                                    TslSide::fsdBottom};

// The cut of one bevel ring.
enum class TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

// Three-dimensional effects of text.
enum class TslTextStyle : uint8_t {
    fstNone,
    fstRaised,
    fstRecessed,
    fstPushed,
    fstShadow,
    fstVolumetric,
};

// A fill percentage, 0 to 100.
using TslPercent = int;

enum class TslHorAlign : uint8_t { fhaLeft, fhaCenter, fhaRight };
enum class TslVertAlign : uint8_t { fvaTop, fvaCenter, fvaBottom };

// Where a glyph's transparent colour comes from: the list's own setting or one corner pixel.
enum class TslAutoTransparentColor : uint8_t {
    ftcUser,
    ftcLeftTopPixel,
    ftcLeftBottomPixel,
    ftcRightTopPixel,
    ftcRightBottomPixel,
};

enum class TslLBWallpaperOption : uint8_t { fwlNone, fwlStretch, fwlTile, fwlGlobal };

enum class TslListBoxOptions_ : uint8_t {
    fboAutoCtl3DColors,
    fboBufferedDraw,
    fboChangeGlyphColor,
    fboDelineatedText,
    fboExcludeGlyphs,
    fboHideText,
    fboHotTrack,
    fboHotTrackSelect,
    fboItemColorAsGradientFrom,
    fboItemColorAsGradientTo,
    fboMouseMoveSentensive,
    fboShowFocus,
    fboSingleGlyph,
    fboTransparent,
    fboWordWrap,
};
using TslListBoxOptions = TslSet<TslListBoxOptions_>;

// The one change notification a style object gives its owner.
using TslChangeEvent = std::function<void(TPersistent* sender)>;

} // namespace vd
