#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "graph/Painter.h"

namespace nuvisca::test {

struct RecordedText {
    PointF at;
    std::string text;
    TextAttributes attributes;
};

struct RecordedStroke {
    std::vector<std::vector<PointF>> runs;
    Rgba colour;
    double lineWidth = 0.0;
};

struct RecordedColumnFill {
    std::vector<ColumnSpan> spans;
    Rgba colour;
};

// Keeps every drawing call so that tests can assert what a draw put on the surface.
class RecordingPainter : public Painter {
public:
    void fillRect(const RectF& rect, const Rgba& colour) override {
        rectsFilled.push_back(true);
        fills.push_back({rect, colour});
    }
    void strokeRect(const RectF&, const Rgba&, double) override { rectsFilled.push_back(false); }
    void strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) override {
        strokes.push_back({{}, colour, lineWidth});
        for (std::size_t r = 0; r < path.runCount(); ++r) {
            const auto run = path.run(r);
            strokes.back().runs.emplace_back(run.begin(), run.end());
        }
    }
    double pixelsPerUnit() const override { return columnsPerUnit; }
    bool fillsColumnSpans() const override { return spansFilled; }
    void fillColumnSpans(std::span<const ColumnSpan> spans, const Rgba& colour) override {
        columnFills.push_back({{spans.begin(), spans.end()}, colour});
    }
    void drawText(PointF lowerLeft, std::string_view utf8,
                  const TextAttributes& attributes) override {
        texts.push_back({lowerLeft, std::string(utf8), attributes});
    }

    // 0.6 of the font size for each character: a clock label at 18 points is 86.4 wide.
    double textWidth(std::string_view utf8, double fontSize) override {
        const auto characters = std::count_if(utf8.begin(), utf8.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        });
        return static_cast<double>(characters) * fontSize * 0.6;
    }

    const RecordedText* findText(std::string_view text) const {
        const auto found = std::ranges::find(texts, text, &RecordedText::text);
        return found == texts.end() ? nullptr : &*found;
    }
    std::vector<const RecordedText*> textsIn(const Rgba& colour) const {
        return matching(texts,
                        [&](const RecordedText& t) { return t.attributes.foreground == colour; });
    }
    std::vector<const RecordedStroke*> strokesOf(const Rgba& colour, double lineWidth) const {
        return matching(strokes, [&](const RecordedStroke& s) {
            return s.colour == colour && s.lineWidth == lineWidth;
        });
    }

    template <typename T, typename Keep>
    static std::vector<const T*> matching(const std::vector<T>& all, Keep keep) {
        std::vector<const T*> found;
        for (const T& item : all) {
            if (keep(item)) {
                found.push_back(&item);
            }
        }
        return found;
    }

    std::vector<RecordedText> texts;
    std::vector<RecordedStroke> strokes;
    std::vector<RecordedColumnFill> columnFills;
    double columnsPerUnit = 0.0;  // as a surface that reduces runs to columns
    bool spansFilled = false;
    std::vector<bool> rectsFilled;  // filled or outlined, in drawing order
    struct Fill {
        RectF rect;
        Rgba colour;
    };
    std::vector<Fill> fills;
};

}  // namespace nuvisca::test
