#include "widgets/slUtils.h"

#include "widgets/sl3DCol.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

namespace vd {

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const auto magnitude = static_cast<uint64_t>(std::llabs(product));
    const auto divisor = static_cast<uint64_t>(std::llabs(static_cast<int64_t>(c)));
    const auto quotient = static_cast<int64_t>((2 * magnitude + divisor) / (2 * divisor));
    return static_cast<int>(negative ? -quotient : quotient);
}

namespace {

// Keeps the canvas's pen, brush or font as it was when the scope ends.
template <class T>
class Keep {
public:
    explicit Keep(T& object) : object_(object) { saved_.Assign(&object); }
    ~Keep() { object_.Assign(&saved_); }
    Keep(const Keep&) = delete;
    Keep& operator=(const Keep&) = delete;

private:
    T& object_;
    T saved_;
};

// Selects `font` into the canvas; a change of colour alone keeps the canvas's prepared face.
void SelectFont(TCanvas& canvas, const TFont& font) {
    TFont& current = canvas.Font();
    if (current.Name() == font.Name() && current.Height() == font.Height() &&
        current.Style() == font.Style())
        current.SetColor(font.Color());
    else
        current.Assign(&font);
}

struct GradientColors {
    int r0, g0, b0;
    int dr, dg, db;
    int n;

    [[nodiscard]] TColor Step(int i) const {
        if (n <= 1)
            return RGB(static_cast<unsigned>(r0), static_cast<unsigned>(g0),
                       static_cast<unsigned>(b0));
        return RGB(static_cast<unsigned>(r0 + MulDiv(i, dr, n - 1)),
                   static_cast<unsigned>(g0 + MulDiv(i, dg, n - 1)),
                   static_cast<unsigned>(b0 + MulDiv(i, db, n - 1)));
    }
};

GradientColors ColorsOf(TColor from, TColor to, int n) {
    const int r0 = static_cast<int>(GetRValue(from));
    const int g0 = static_cast<int>(GetGValue(from));
    const int b0 = static_cast<int>(GetBValue(from));
    return {r0,
            g0,
            b0,
            static_cast<int>(GetRValue(to)) - r0,
            static_cast<int>(GetGValue(to)) - g0,
            static_cast<int>(GetBValue(to)) - b0,
            n};
}

// Whether the fill stops after step i of n.
bool FilledEnough(int i, int n, TslPercent percent) {
    return static_cast<double>(i) / static_cast<double>(n) * 100.0 > static_cast<double>(percent);
}

// Solid bands side by side cover the rectangle once each: one picture row (or column) with every
// pixel in its band's colour, stretched over the bands drawn, gives the very same pixels as
// filling them one by one, at a fraction of the cost.
void FillSolidBands(TCanvas& canvas, const TRect& rect, TslGradientDir orientation,
                    const GradientColors& colors, TslPercent percent) {
    const bool across = orientation == TslGradientDir::fgdVertical;
    const int length = across ? rect.Width() : rect.Height();
    const int n = colors.n;
    TBitmap strip(across ? length : 1, across ? 1 : length);
    TCanvas& pixels = strip.Canvas();
    int end = 0;
    for (int i = 0; i < n; ++i) {
        const TColor color = colors.Step(i);
        const int next = MulDiv(i + 1, length, n);
        for (int p = MulDiv(i, length, n); p < next; ++p)
            pixels.SetPixel(across ? p : 0, across ? 0 : p, color);
        end = next;
        if (FilledEnough(i, n, percent))
            break;
    }
    if (end <= 0)
        return;
    const TRect drawn = across ? TRect{rect.Left, rect.Top, rect.Left + end, rect.Bottom}
                               : TRect{rect.Left, rect.Top, rect.Right, rect.Top + end};
    const TRect source = across ? TRect{0, 0, end, 1} : TRect{0, 0, 1, end};
    canvas.CopyRect(drawn, strip, source);
}

void FillBands(TCanvas& canvas, const TRect& rect, TslGradientDir orientation, TColor from,
               TColor to, const TCustomGradient& gradient) {
    int w = rect.Width();
    int h = rect.Height();
    int n = 0;
    switch (orientation) {
    case TslGradientDir::fgdHorizontal:
        n = std::min(gradient.Steps(), h);
        break;
    case TslGradientDir::fgdVertical:
        n = std::min(gradient.Steps(), w);
        break;
    default: // the rectangle: concentric frames over half the size
        w /= 2;
        h /= 2;
        n = std::min(gradient.Steps(), std::min(w, h));
        break;
    }
    if (n <= 0)
        return;
    // A clear brush has no hatch to draw with: nothing is filled.
    if (gradient.BrushStyle() == TBrushStyle::bsClear)
        return;
    const GradientColors colors = ColorsOf(from, to, n);
    if (orientation != TslGradientDir::fgdRectangle &&
        gradient.BrushStyle() == TBrushStyle::bsSolid) {
        FillSolidBands(canvas, rect, orientation, colors, gradient.PercentFilling());
        return;
    }
    TBrush& brush = canvas.Brush();
    Keep<TBrush> keep(brush);
    brush.SetStyle(gradient.BrushStyle());
    for (int i = 0; i < n; ++i) {
        brush.SetColor(colors.Step(i));
        TRect band;
        switch (orientation) {
        case TslGradientDir::fgdHorizontal:
            band = {rect.Left, rect.Top + MulDiv(i, h, n), rect.Right,
                    rect.Top + MulDiv(i + 1, h, n)};
            break;
        case TslGradientDir::fgdVertical:
            band = {rect.Left + MulDiv(i, w, n), rect.Top, rect.Left + MulDiv(i + 1, w, n),
                    rect.Bottom};
            break;
        default:
            band = {rect.Left + MulDiv(i, w, n), rect.Top + MulDiv(i, h, n),
                    rect.Right - MulDiv(i, w, n), rect.Bottom - MulDiv(i, h, n)};
            break;
        }
        canvas.FillRect(band);
        if (FilledEnough(i, n, gradient.PercentFilling()))
            break;
    }
}

void DrawBiasLines(TCanvas& canvas, const TRect& rect, TslGradientDir orientation, TColor from,
                   TColor to, const TCustomGradient& gradient, int pen_width, TPenStyle pen_style) {
    const int span = rect.Width() + rect.Height();
    const int n = std::min(gradient.Steps(), span);
    if (n <= 0)
        return;
    const int step = pen_width <= 0 ? 1 : pen_width;
    const bool left = orientation == TslGradientDir::fgdLeftBias;
    TPoint a{left ? rect.Left : rect.Right, rect.Top};
    TPoint b = a;
    const GradientColors colors = ColorsOf(from, to, n);
    TPen& pen = canvas.Pen();
    Keep<TPen> keep(pen);
    pen.SetWidth(step);
    pen.SetStyle(pen_style);
    for (int i = 0; i < n; ++i) {
        pen.SetColor(colors.Step(i));
        const int lines = MulDiv(i + 1, span, n) - MulDiv(i, span, n);
        for (int k = 0; k < lines; ++k) {
            if (left) {
                if (a.Y < rect.Bottom)
                    a.Y += step;
                else
                    a.X += step;
                if (b.X < rect.Right)
                    b.X += step;
                else
                    b.Y += step;
            } else {
                if (a.X > rect.Left)
                    a.X -= step;
                else
                    a.Y += step;
                if (b.Y < rect.Bottom)
                    b.Y += step;
                else
                    b.X -= step;
            }
            canvas.MoveTo(a.X, a.Y);
            canvas.LineTo(b.X, b.Y);
        }
        if (FilledEnough(i, n, gradient.PercentFilling()))
            break;
    }
}

void DrawGradient(TCanvas& canvas, const TRect& rect, TslGradientDir orientation, TColor from,
                  TColor to, const TCustomGradient& gradient, int pen_width, TPenStyle pen_style) {
    const bool bias =
        orientation == TslGradientDir::fgdLeftBias || orientation == TslGradientDir::fgdRightBias;
    auto draw = [&](TCanvas& target, const TRect& r) {
        if (bias)
            DrawBiasLines(target, r, orientation, from, to, gradient, pen_width, pen_style);
        else
            FillBands(target, r, orientation, from, to, gradient);
    };
    if (!gradient.BufferedDraw()) {
        draw(canvas, rect);
        return;
    }
    // Off-screen at the rectangle's own size, placed back at its top-left: what was beneath
    // comes along, so that gaps of hatches and lines keep it.
    if (rect.IsEmpty())
        return;
    TBitmap buffer(rect.Width(), rect.Height());
    const TRect whole{0, 0, rect.Width(), rect.Height()};
    buffer.Canvas().CopyRect(whole, canvas, rect);
    draw(buffer.Canvas(), whole);
    canvas.Draw(rect.Left, rect.Top, buffer);
}

} // namespace

void FillGradient(TCanvas& canvas, const TRect& rect, const TCustomGradient& gradient,
                  int pen_width, TPenStyle pen_style) {
    FillGradient(canvas, rect, gradient, gradient.RGBFromColor(), gradient.RGBToColor(), pen_width,
                 pen_style);
}

void FillGradient(TCanvas& canvas, const TRect& rect, const TCustomGradient& gradient,
                  TColor from_rgb, TColor to_rgb, int pen_width, TPenStyle pen_style) {
    // Every canvas here has 32 bits a pixel, so the too-few-colours rule never applies.
    if (!gradient.Active() || gradient.Steps() == 1)
        return;
    const int w = rect.Width();
    const int h = rect.Height();
    switch (gradient.Orientation()) {
    case TslGradientDir::fgdHorzConvergent:
        DrawGradient(canvas, {rect.Left, rect.Top, rect.Right, rect.Bottom - h / 2},
                     TslGradientDir::fgdHorizontal, from_rgb, to_rgb, gradient, pen_width,
                     pen_style);
        DrawGradient(canvas, {rect.Left, rect.Top + h / 2, rect.Right, rect.Bottom},
                     TslGradientDir::fgdHorizontal, to_rgb, from_rgb, gradient, pen_width,
                     pen_style);
        return;
    case TslGradientDir::fgdVertConvergent:
        DrawGradient(canvas, {rect.Left, rect.Top, rect.Right - w / 2, rect.Bottom},
                     TslGradientDir::fgdVertical, from_rgb, to_rgb, gradient, pen_width, pen_style);
        DrawGradient(canvas, {rect.Left + w / 2, rect.Top, rect.Right, rect.Bottom},
                     TslGradientDir::fgdVertical, to_rgb, from_rgb, gradient, pen_width, pen_style);
        return;
    default:
        DrawGradient(canvas, rect, gradient.Orientation(), from_rgb, to_rgb, gradient, pen_width,
                     pen_style);
        return;
    }
}

// ---- bevel ------------------------------------------------------------------------------------

namespace {

struct BevelPens {
    TColor dark;
    TColor light;
    TColor mid;
};

class BevelPainter {
public:
    BevelPainter(TCanvas& canvas, const BevelPens& pens, TslSides sides)
        : canvas_(canvas), pens_(pens), sides_(sides) {}

    // Draws one ring on `d` and moves the sides of `inner` past it.
    void Ring(const TRect& d, TBevelCut cut, bool bold, TRect& inner) {
        const int l = d.Left;
        const int t = d.Top;
        const int r = d.Right;
        const int b = d.Bottom;
        const int e = sides_.Contains(TslSide::fsdBottom) ? 0 : 1;
        const int f = sides_.Contains(TslSide::fsdLeft) ? 1 : 0;
        if (cut == TBevelCut::bvLowered) {
            if (sides_.Contains(TslSide::fsdLeft)) {
                if (bold) {
                    Line(pens_.dark, l, t, l, b);
                    Line(pens_.mid, l + 1, t + 1, l + 1, b + e);
                    inner.Left += 2;
                } else {
                    Line(pens_.mid, l, t, l, b);
                    inner.Left += 1;
                }
            }
            if (sides_.Contains(TslSide::fsdTop)) {
                if (bold) {
                    Line(pens_.dark, l, t, r, t);
                    Line(pens_.mid, l + 1, t + 1, r, t + 1);
                    inner.Top += 2;
                } else {
                    Line(pens_.mid, l, t, r, t);
                    inner.Top += 1;
                }
            }
            if (sides_.Contains(TslSide::fsdRight)) {
                Line(pens_.light, r, t, r, b);
                inner.Right -= 1;
            }
            if (sides_.Contains(TslSide::fsdBottom)) {
                Line(pens_.light, l, b, r + 1, b);
                inner.Bottom -= 1;
            }
        } else if (cut == TBevelCut::bvRaised) {
            if (sides_.Contains(TslSide::fsdLeft)) {
                Line(pens_.light, l, t, l, b + 1);
                inner.Left += 1;
            }
            if (sides_.Contains(TslSide::fsdTop)) {
                Line(pens_.light, l, t, r, t);
                inner.Top += 1;
            }
            if (sides_.Contains(TslSide::fsdRight)) {
                if (bold) {
                    Line(pens_.dark, r, t, r, b + 1);
                    Line(pens_.mid, r - 1, t + 1, r - 1, b + 1);
                    inner.Right -= 2;
                } else {
                    Line(pens_.mid, r, t, r, b + 1);
                    inner.Right -= 1;
                }
            }
            if (sides_.Contains(TslSide::fsdBottom)) {
                if (bold) {
                    Line(pens_.dark, l, b, r, b);
                    Line(pens_.mid, l + f, b - 1, r, b - 1);
                    inner.Bottom -= 2;
                } else {
                    Line(pens_.mid, l, b, r, b);
                    inner.Bottom -= 1;
                }
            }
        }
    }

private:
    void Line(TColor color, int x0, int y0, int x1, int y1) {
        canvas_.Pen().SetColor(color);
        canvas_.MoveTo(x0, y0);
        canvas_.LineTo(x1, y1);
    }

    TCanvas& canvas_;
    BevelPens pens_;
    TslSides sides_;
};

BevelPens CurrentBevelPens() {
    if (const Tsl3DLocalColors* local = Current3DColors())
        return {ColorToRGB(local->DkShadow()), ColorToRGB(local->Highlight()),
                ColorToRGB(local->Shadow())};
    return {ColorToRGB(cl3DDkShadow), ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow)};
}

} // namespace

TRect DrawBevelFrame(TCanvas& canvas, const TRect& rect, TslSides sides, TBevelCut inner,
                     TBevelCut outer, bool bold, TColor fill_color, bool no_fill) {
    TRect d = rect;
    TRect i = d;
    {
        TPen& pen = canvas.Pen();
        Keep<TPen> keep(pen);
        if (pen.Width() <= 0)
            pen.SetWidth(1);
        BevelPainter painter(canvas, CurrentBevelPens(), sides);
        if (outer != TBevelCut::bvNone)
            painter.Ring(d, outer, bold, i);
        d = i;
        if (inner != TBevelCut::bvNone)
            painter.Ring(d, inner, bold, i);
    }
    if (!no_fill) {
        TBrush& brush = canvas.Brush();
        Keep<TBrush> keep(brush);
        brush.SetStyle(TBrushStyle::bsSolid);
        brush.SetColor(ColorToRGB(fill_color));
        canvas.FillRect({i.Left, i.Top, i.Right + 1, i.Bottom + 1});
    }
    return i;
}

// ---- text -------------------------------------------------------------------------------------

void DrawStyledText(TCanvas& canvas, const TRect& rect, std::string_view text, TslTextStyle style,
                    const TFont* font, unsigned format) {
    if (font == nullptr)
        return;
    if (format == 0)
        format = DT_SINGLELINE | DT_VCENTER;
    TBrush& brush = canvas.Brush();
    const TBrushStyle saved_brush = brush.Style();
    const TFont saved_font = canvas.Font();
    brush.SetStyle(TBrushStyle::bsClear);
    SelectFont(canvas, *font);
    auto pass = [&](TColor color, int dx, int dy) {
        canvas.Font().SetColor(color);
        TRect r = rect.Offset(dx, dy);
        canvas.DrawText(text, r, format);
    };
    const TColor face = font->Color();
    switch (style) {
    case TslTextStyle::fstRaised:
        pass(clBtnHighlight, -1, -1);
        pass(clBtnShadow, 1, 1);
        pass(face, 0, 0);
        break;
    case TslTextStyle::fstRecessed:
        pass(clBtnShadow, -1, -1);
        pass(clBtnHighlight, 1, 1);
        pass(face, 0, 0);
        break;
    case TslTextStyle::fstPushed:
        pass(clBtnHighlight, 0, 0);
        pass(clBtnShadow, -1, -1);
        break;
    case TslTextStyle::fstShadow:
        pass(clBtnShadow, 2, 2);
        pass(face, 0, 0);
        break;
    case TslTextStyle::fstNone:
    case TslTextStyle::fstVolumetric:
        pass(face, 0, 0);
        break;
    }
    SelectFont(canvas, saved_font);
    brush.SetStyle(saved_brush);
}

// ---- line counting ---------------------------------------------------------------------------

namespace {

constexpr int kFirstPrintable = ' ';
constexpr int kPastPrintable = 0x7F;

// What text of one font measures: character widths and the pairs that are not their sum.
struct WidthTable {
    std::string name;
    int height = 0;
    TFontStyles style = 0;
    int line_height = 0;
    int extra = 0; // added once to every non-empty width (overstruck bold)
    std::array<int, 128> widths{};
    // Pairs whose width is not the sum of their characters' widths, at first * 128 + second.
    std::bitset<128 * 128> odd_pairs;
};

bool Printable(std::string_view text, bool allow_prefix) {
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < kFirstPrintable || c >= kPastPrintable || (!allow_prefix && c == '&'))
            return false;
    }
    return true;
}

// GUI thread: the tables of the fonts last asked for.
const WidthTable& TableFor(const TFont& font) {
    static std::deque<WidthTable> tables;
    static TBitmap surface(1, 1);
    for (const WidthTable& t : tables)
        if (t.name == font.Name() && t.height == font.Height() && t.style == font.Style())
            return t;
    constexpr std::size_t kKept = 4;
    if (tables.size() == kKept)
        tables.pop_front();
    WidthTable t;
    t.name = font.Name();
    t.height = font.Height();
    t.style = font.Style();
    TCanvas& canvas = surface.Canvas();
    canvas.Font().Assign(&font);
    t.line_height = canvas.TextHeight("");
    t.extra = font.SimulatedBold() ? 1 : 0;
    for (int c = kFirstPrintable; c < kPastPrintable; ++c) {
        const char ch = static_cast<char>(c);
        t.widths[static_cast<std::size_t>(c)] =
            canvas.TextWidth(std::string_view(&ch, 1)) - t.extra;
    }
    char pair[2];
    for (int a = kFirstPrintable; a < kPastPrintable; ++a)
        for (int b = kFirstPrintable; b < kPastPrintable; ++b) {
            pair[0] = static_cast<char>(a);
            pair[1] = static_cast<char>(b);
            const int sum =
                t.widths[static_cast<std::size_t>(a)] + t.widths[static_cast<std::size_t>(b)];
            if (canvas.TextWidth(std::string_view(pair, 2)) != sum + t.extra)
                t.odd_pairs.set(static_cast<std::size_t>(a * 128 + b));
        }
    tables.push_back(std::move(t));
    return tables.back();
}

} // namespace

int TextLineHeight(const TFont& font) {
    return TableFor(font).line_height;
}

int CountTextLines(const TFont& font, std::string_view text, int width, bool word_wrap) {
    if (text.empty() || !Printable(text, !word_wrap))
        return 0;
    if (!word_wrap)
        return 1; // one paragraph, whatever its width
    const WidthTable& t = TableFor(font);
    for (std::size_t i = 1; i < text.size(); ++i)
        if (t.odd_pairs.test(static_cast<unsigned char>(text[i - 1]) * 128u +
                             static_cast<unsigned char>(text[i])))
            return 0;
    auto advance = [&t](std::string_view part) {
        int sum = 0;
        for (char ch : part)
            sum += t.widths[static_cast<unsigned char>(ch)];
        return sum;
    };
    // DrawText's rule: a paragraph that fits is one line; otherwise words are added to a line
    // while it stays within the width (a line always takes at least one word), and the blanks
    // after a word stay with it.
    if (advance(text) + t.extra <= width)
        return 1;
    int lines = 0;
    int line = 0;
    bool line_empty = true;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t j = i;
        while (j < text.size() && text[j] != ' ')
            ++j;
        std::size_t k = j;
        while (k < text.size() && text[k] == ' ')
            ++k;
        const int word = advance(text.substr(i, j - i));
        const bool candidate_empty = line_empty && j == i;
        const int candidate = candidate_empty ? 0 : line + word + t.extra;
        if (!line_empty && candidate > width) {
            ++lines;
            line = word;
            line_empty = j == i;
        } else {
            line += word;
            line_empty = candidate_empty;
        }
        line += static_cast<int>(k - j) * t.widths[' '];
        line_empty = line_empty && k == j;
        i = k;
    }
    return lines + 1;
}

// ---- bitmaps ----------------------------------------------------------------------------------

void RecolorBitmap(TBitmap& bitmap, TColor from, TColor to) {
    if (bitmap.Empty())
        return;
    const TColor key = ColorToRGB(from);
    const TColor replacement = ColorToRGB(to);
    std::vector<TColor> row;
    for (int y = 0; y < bitmap.Height(); ++y) {
        bitmap.ReadRow(y, row);
        for (int x = 0; x < bitmap.Width(); ++x)
            if (row[static_cast<std::size_t>(x)] == key)
                bitmap.Canvas().SetPixel(x, y, replacement);
    }
}

TColor CornerPixelColor(const TBitmap& bitmap, TslAutoTransparentColor mode) {
    const int right = bitmap.Width() - 1;
    const int bottom = bitmap.Height() - 1;
    switch (mode) {
    case TslAutoTransparentColor::ftcLeftTopPixel:
        return bitmap.Pixel(0, 0);
    case TslAutoTransparentColor::ftcLeftBottomPixel:
        return bitmap.Pixel(0, bottom);
    case TslAutoTransparentColor::ftcRightTopPixel:
        return bitmap.Pixel(right, 0);
    case TslAutoTransparentColor::ftcRightBottomPixel:
        return bitmap.Pixel(right, bottom);
    case TslAutoTransparentColor::ftcUser:
        break;
    }
    return clNone;
}

void DrawBitmapTransparent(TCanvas& canvas, const TBitmap& bitmap, int x, int y,
                           TColor transparent) {
    if (bitmap.Empty())
        return;
    TBrush& brush = canvas.Brush();
    const TBrushStyle saved = brush.Style();
    brush.SetStyle(TBrushStyle::bsClear);
    canvas.BrushCopy({x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap,
                     {0, 0, bitmap.Width(), bitmap.Height()}, ColorToRGB(transparent));
    brush.SetStyle(saved);
}

} // namespace vd
