#pragma once

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

struct RecordedRect {
    RectF rect;
    Rgba colour;
    bool filled = false;
};

// Keeps every drawing call so that tests can assert what a draw put on the surface.
class RecordingPainter : public Painter {
public:
    void fillRect(const RectF& rect, const Rgba& colour) override {
        rects.push_back({rect, colour, true});
    }
    void strokeRect(const RectF& rect, const Rgba& colour, double /*lineWidth*/) override {
        rects.push_back({rect, colour, false});
    }
    void strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) override {
        RecordedStroke stroke{{}, colour, lineWidth};
        for (std::size_t r = 0; r < path.runCount(); ++r) {
            const auto run = path.run(r);
            stroke.runs.emplace_back(run.begin(), run.end());
        }
        strokes.push_back(std::move(stroke));
    }
    void drawText(PointF lowerLeft, std::string_view utf8,
                  const TextAttributes& attributes) override {
        texts.push_back({lowerLeft, std::string(utf8), attributes});
    }

    const RecordedText* findText(std::string_view text) const {
        for (const RecordedText& t : texts) {
            if (t.text == text) {
                return &t;
            }
        }
        return nullptr;
    }

    std::vector<const RecordedText*> textsIn(const Rgba& colour) const {
        std::vector<const RecordedText*> found;
        for (const RecordedText& t : texts) {
            if (t.attributes.foreground == colour) {
                found.push_back(&t);
            }
        }
        return found;
    }

    // The strokes of one colour and width, in drawing order.
    std::vector<const RecordedStroke*> strokesOf(const Rgba& colour, double lineWidth) const {
        std::vector<const RecordedStroke*> found;
        for (const RecordedStroke& s : strokes) {
            if (s.colour == colour && s.lineWidth == lineWidth) {
                found.push_back(&s);
            }
        }
        return found;
    }

    std::vector<RecordedText> texts;
    std::vector<RecordedStroke> strokes;
    std::vector<RecordedRect> rects;
};

}  // namespace nuvisca::test
