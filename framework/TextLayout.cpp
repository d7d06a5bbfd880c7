#include "framework/Graphics.h"

#include "framework/QtConvert.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <vector>

// Text on a canvas: DrawText's layout (prefix characters, tabs, line breaks, word wrap,
// alignment, the end ellipsis) and the single lines of TextOut, measured with the canvas font.

namespace vd {

namespace {

struct TextLine {
    QString text;
    int width = -1; // in pixels; -1 until something needs it
};

// Widths in the canvas font. A bold drawn by overstriking is one pixel wider than the face.
class TextMeasure {
public:
    TextMeasure(const QFont& font, bool simulated_bold)
        : metrics_(font), extra_(simulated_bold ? 1 : 0) {}

    [[nodiscard]] int Width(const QString& s) const {
        return s.isEmpty() ? 0 : metrics_.horizontalAdvance(s) + extra_;
    }
    // The line's width, measured the first time it is asked for.
    int Width(TextLine& line) const {
        if (line.width < 0)
            line.width = Width(line.text);
        return line.width;
    }
    [[nodiscard]] const QFontMetrics& Metrics() const { return metrics_; }
    [[nodiscard]] int Extra() const { return extra_; }

private:
    QFontMetrics metrics_;
    int extra_;
};

QString ExpandTabs(const QString& s) {
    QString out;
    int column = 0;
    for (QChar c : s) {
        if (c == u'\t') {
            const int spaces = 8 - column % 8;
            out.append(QString(spaces, u' '));
            column += spaces;
        } else {
            out.append(c);
            ++column;
        }
    }
    return out;
}

QString StripPrefix(const QString& s) {
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'&' && i + 1 < s.size()) {
            ++i;
        } else if (s[i] == u'&') {
            continue;
        }
        out.append(s[i]);
    }
    return out;
}

// The text as it is laid out: prefix characters taken out and tabs expanded, as `flags` ask.
QString PreparedText(std::string_view text, unsigned flags) {
    QString all = ToQString(text);
    if ((flags & DT_NOPREFIX) == 0)
        all = StripPrefix(all);
    if ((flags & DT_EXPANDTABS) != 0)
        all = ExpandTabs(all);
    return all;
}

// The text's paragraphs: split at CR, LF and CR LF, or one with the breaks left out.
std::vector<QString> SplitParagraphs(QString all, bool single_line) {
    std::vector<QString> paragraphs;
    if (single_line) {
        all.remove(u'\r');
        all.remove(u'\n');
        paragraphs.push_back(all);
        return paragraphs;
    }
    QString current;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all[i] == u'\r' || all[i] == u'\n') {
            paragraphs.push_back(current);
            current.clear();
            if (all[i] == u'\r' && i + 1 < all.size() && all[i + 1] == u'\n')
                ++i;
        } else {
            current.append(all[i]);
        }
    }
    paragraphs.push_back(current);
    return paragraphs;
}

QString WithoutTrailingBlanks(QString s) {
    while (s.endsWith(u' '))
        s.chop(1);
    return s;
}

// Greedy word wrap of a paragraph wider than `limit`: breaks after blanks; a word wider than the
// rectangle stays whole.
void WrapParagraph(const QString& paragraph, int limit, const TextMeasure& measure,
                   std::vector<TextLine>& lines) {
    QString line;
    qsizetype i = 0;
    while (i < paragraph.size()) {
        qsizetype j = i;
        while (j < paragraph.size() && paragraph[j] != u' ')
            ++j;
        qsizetype k = j;
        while (k < paragraph.size() && paragraph[k] == u' ')
            ++k;
        const QString word = paragraph.mid(i, j - i);
        const QString candidate = line + word;
        if (!line.isEmpty() && measure.Width(candidate) > limit) {
            const QString out = WithoutTrailingBlanks(line);
            lines.push_back({out, measure.Width(out)});
            line = word;
        } else {
            line = candidate;
        }
        line += paragraph.mid(j, k - j);
        i = k;
    }
    line = WithoutTrailingBlanks(line);
    lines.push_back({line, measure.Width(line)});
}

// The lines the paragraphs make, wrapped at `limit` pixels when `wrap` asks.
std::vector<TextLine> BreakLines(const std::vector<QString>& paragraphs, bool wrap, int limit,
                                 const TextMeasure& measure) {
    std::vector<TextLine> lines;
    for (const QString& paragraph : paragraphs) {
        if (!wrap) {
            lines.push_back({paragraph, -1}); // measured only if something needs the width
            continue;
        }
        const int whole = measure.Width(paragraph);
        if (whole <= limit) {
            lines.push_back({paragraph, whole});
            continue;
        }
        WrapParagraph(paragraph, limit, measure, lines);
    }
    return lines;
}

// Where the first line's top goes: a single line may be centred or put at the bottom.
int FirstLineTop(const TRect& rect, unsigned flags, int line_height) {
    if ((flags & DT_SINGLELINE) != 0) {
        if ((flags & DT_VCENTER) != 0)
            return rect.Top + (rect.Height() - line_height) / 2;
        if ((flags & DT_BOTTOM) != 0)
            return rect.Bottom - line_height;
    }
    return rect.Top;
}

// Where a line of `width` pixels starts in `rect`.
int LineLeft(const TRect& rect, unsigned flags, int width) {
    if ((flags & DT_CENTER) != 0)
        return rect.Left + (rect.Width() - width) / 2;
    if ((flags & DT_RIGHT) != 0)
        return rect.Right - width;
    return rect.Left;
}

// What lies behind the text: the brush's colour, unless the brush is clear.
struct TextBackground {
    QColor color;
    bool opaque = false;
};

void PaintLines(QPainter& p, std::vector<TextLine>& lines, const TRect& rect, unsigned flags,
                int top, const TextMeasure& measure, const TextBackground& background) {
    const QFontMetrics& fm = measure.Metrics();
    const int line_height = fm.height();
    int y = top;
    for (TextLine& line : lines) {
        if ((flags & DT_END_ELLIPSIS) != 0 && measure.Width(line) > rect.Width()) {
            line.text = fm.elidedText(line.text, Qt::ElideRight,
                                      std::max(0, rect.Width() - measure.Extra()));
            line.width = measure.Width(line.text);
        }
        const int x = LineLeft(rect, flags, measure.Width(line));
        if (background.opaque && measure.Width(line) > 0)
            p.fillRect(QRect(x, y, line.width, line_height), background.color);
        p.drawText(x, y + fm.ascent(), line.text);
        if (measure.Extra() != 0)
            p.drawText(x + 1, y + fm.ascent(), line.text);
        y += line_height;
    }
}

} // namespace

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags) {
    const QFont& font = font_.PlatformFont();
    const TextMeasure measure(font, font_.SimulatedBold());
    const bool single_line = (flags & DT_SINGLELINE) != 0;
    const bool wrap = (flags & DT_WORDBREAK) != 0 && !single_line;
    std::vector<TextLine> lines = BreakLines(
        SplitParagraphs(PreparedText(text, flags), single_line), wrap, rect.Width(), measure);

    const int line_height = measure.Metrics().height();
    const int text_height = line_height * static_cast<int>(lines.size());
    if ((flags & DT_CALCRECT) != 0) {
        int widest = 0;
        for (TextLine& l : lines)
            widest = std::max(widest, measure.Width(l));
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + text_height;
        return text_height;
    }

    const int top = FirstLineTop(rect, flags, line_height);
    QPainter& p = Painter();
    p.save();
    if ((flags & DT_NOCLIP) == 0)
        p.setClipRect(ToQRect(rect), Qt::IntersectClip);
    p.setFont(font);
    p.setPen(ToQColor(font_.Color()));
    const TextBackground background{ToQColor(brush_.Color()),
                                    brush_.Style() != TBrushStyle::bsClear};
    PaintLines(p, lines, rect, flags, top, measure, background);
    p.restore();
    return text_height;
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    if (font_.Orientation() != 0) {
        // A turned line starts at (x, y), the top-left corner of its first character cell.
        const QFont& font = font_.PlatformFont();
        QPainter& p = Painter();
        p.save();
        p.translate(x, y);
        p.rotate(-font_.Orientation() / 10.0);
        p.setFont(font);
        p.setPen(ToQColor(font_.Color()));
        const int ascent = QFontMetrics(font).ascent();
        p.drawText(0, ascent, ToQString(text));
        if (font_.SimulatedBold())
            p.drawText(1, ascent, ToQString(text));
        p.restore();
        pen_pos_ = {x, y};
        return;
    }
    TRect r{x, y, x + TextWidth(text), y + TextHeight(text)};
    DrawText(text, r, DT_NOCLIP | DT_NOPREFIX | DT_SINGLELINE);
    pen_pos_ = {r.Right, y};
}

int TCanvas::TextWidth(std::string_view text) const {
    if (text.empty())
        return 0;
    const QFontMetrics fm(font_.PlatformFont());
    return fm.horizontalAdvance(ToQString(text)) + (font_.SimulatedBold() ? 1 : 0);
}

int TCanvas::TextHeight(std::string_view) const {
    return QFontMetrics(font_.PlatformFont()).height();
}

} // namespace vd
