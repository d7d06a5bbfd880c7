#pragma once

#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/Types.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QImage;
class QPainter;
class QFont;

namespace vd {

class TStream;

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// A drawing attribute (font, pen, brush) that tells its owner when it changes.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed() {
        if (OnChange)
            OnChange(nullptr);
    }
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// A font by its classic face name. "MS Sans Serif" 8 point is 11 pixels high (Height -11) and
// draws 13-pixel lines. Text is drawn without antialiasing, so pictures are exact.
class TFont : public TGraphicsObject {
public:
    TFont();
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);
    ~TFont() override;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] const std::string& Name() const { return name_; }
    void SetName(std::string_view name);
    // Height in pixels; negative is the character height without internal leading.
    [[nodiscard]] int Height() const { return height_; }
    void SetHeight(int height);
    // Size in points at 96 pixels per inch.
    [[nodiscard]] int Size() const;
    void SetSize(int points);
    [[nodiscard]] TColor Color() const { return color_; }
    void SetColor(TColor color);
    [[nodiscard]] TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    // The angle text is drawn at, in tenths of a degree counter-clockwise (the escapement). A
    // turned font is always an outline font: a face that has only bitmaps gives way to the
    // nearest outline face.
    [[nodiscard]] int Orientation() const { return orientation_; }
    void SetOrientation(int tenths);

    // framework: the platform font, cached until the next change.
    [[nodiscard]] const QFont& PlatformFont() const;
    // framework: the font needs its bold drawn by overstriking (a bitmap face without bold).
    [[nodiscard]] bool SimulatedBold() const;

private:
    void Invalidate();
    struct Cache;
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    int orientation_ = 0;
    // The platform font for these settings; fonts with equal settings share it.
    mutable std::shared_ptr<const Cache> cache_;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
public:
    void Assign(const TPersistent* source) override;
    [[nodiscard]] TColor Color() const { return color_; }
    void SetColor(TColor color);
    [[nodiscard]] int Width() const { return width_; }
    void SetWidth(int width);
    [[nodiscard]] TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
};

enum class TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBrush : public TGraphicsObject {
public:
    void Assign(const TPersistent* source) override;
    [[nodiscard]] TColor Color() const { return color_; }
    void SetColor(TColor color);
    [[nodiscard]] TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
};

// Text-drawing flags of DrawText.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
};

class TBitmap;

// Drawing on a picture with the classic semantics: rectangles exclude their right and bottom
// edges, a line excludes its last point, copies are pixel exact, pixels can be read back.
// Coordinates are the canvas's own; a control's canvas has its origin at the control.
class TCanvas {
public:
    // A canvas over `target`, which must outlive it; `origin` is where the canvas's (0, 0) lies
    // in the target, and `clip` (in canvas coordinates) limits all drawing when not empty.
    explicit TCanvas(QImage* target, TPoint origin = {}, TRect clip = {});
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont& Font() { return font_; }
    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    const TFont& Font() const { return font_; }

    // The rectangle drawing is limited to, in canvas coordinates.
    [[nodiscard]] TRect ClipRect() const;

    void FillRect(const TRect& r);
    // Outline with the pen, inside filled with the brush; the right and bottom edges excluded.
    void Rectangle(const TRect& r);
    void FrameRect(const TRect& r);
    void MoveTo(int x, int y);
    // A line from the pen position to (x, y), the last point excluded.
    void LineTo(int x, int y);
    [[nodiscard]] TPoint PenPos() const { return pen_pos_; }

    void Draw(int x, int y, const TBitmap& bitmap);
    // Copies `source_rect` of `source` to `dest` (stretched when the sizes differ).
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& source_rect);
    void CopyRect(const TRect& dest, const TBitmap& source, const TRect& source_rect);
    // Copies `source_rect` of `source` to `dest`; pixels of `transparent` are left out when the
    // brush is clear, or painted in the brush's colour otherwise. With clNone the copy is plain.
    void BrushCopy(const TRect& dest, const TBitmap& source, const TRect& source_rect,
                   TColor transparent);

    void TextOut(int x, int y, std::string_view text);
    [[nodiscard]] int TextWidth(std::string_view text) const;
    [[nodiscard]] int TextHeight(std::string_view text) const;
    // Draws (or with DT_CALCRECT measures, widening or narrowing `rect`) text in `rect`;
    // returns the height of the text.
    int DrawText(std::string_view text, TRect& rect, unsigned flags);

    [[nodiscard]] TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // How many colours the surface shows, in bits per pixel: the picture's depth, but no more
    // than the display's, as pictures are made for the display.
    [[nodiscard]] int BitsPerPixel() const;
    // The display's depth (32 unless set); tests set a lower one to see the low-colour pictures.
    // GUI thread.
    static void SetDisplayBitsPerPixel(int bits);
    [[nodiscard]] static int DisplayBitsPerPixel();

    // framework: the painter over the target, set up for this canvas; and the target itself,
    // with any drawing in progress finished.
    QPainter& Painter();
    [[nodiscard]] QImage& Target() const;
    [[nodiscard]] TPoint Origin() const { return origin_; }
    void Release();

private:
    void ApplyClip(QPainter& p) const;
    // Where the canvas point (x, y) lies in the target, or nothing when it is outside the target
    // or the clip.
    [[nodiscard]] std::optional<TPoint> TargetPoint(int x, int y) const;
    QImage* target_;
    TPoint origin_;
    TRect clip_;
    TFont font_;
    TPen pen_;
    TBrush brush_;
    TPoint pen_pos_;
    std::unique_ptr<QPainter> painter_;
};

// A picture of 32-bit pixels with a canvas; reads BMP files of 1, 4, 8, 16, 24 and 32 bits per
// pixel and writes 24-bit BMP files. Copies share pixels until one of them is drawn on.
class TBitmap : public TGraphicsObject {
public:
    TBitmap();
    TBitmap(int width, int height);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap() override;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] int Width() const;
    [[nodiscard]] int Height() const;
    [[nodiscard]] bool Empty() const;
    // Changes the size; what fits of the old picture stays, new pixels are black.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }

    TCanvas& Canvas();
    [[nodiscard]] TColor Pixel(int x, int y) const;
    // Row `y` as colours, into `out` (resized to the width); fast for whole-picture scans.
    void ReadRow(int y, std::vector<TColor>& out) const;

    // Reads one BMP file image: the file header's size field tells how many bytes it takes.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

    // framework: the pixels, with any drawing in progress finished.
    [[nodiscard]] QImage& Image() const;
    void SetImage(const QImage& image);

private:
    std::unique_ptr<QImage> image_;
    mutable std::unique_ptr<TCanvas> canvas_;
};

} // namespace vd
