#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace nuvisca {

// Points in view coordinates: origin at the lower left, y upwards.
struct PointF {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

struct RectF {
    double x = 0.0;  // lower-left corner
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    friend bool operator==(const RectF&, const RectF&) = default;
};

struct Rgba {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// The one attribute set a view draws its strings with. It is changed in place before each
// group of strings and outlives a draw, so a background once set stays for later strings.
struct TextAttributes {
    double fontSize = 0.0;
    Rgba foreground{};
    std::optional<Rgba> background;
};

// Runs of connected points. A run begun at a point and never extended is a zero-length
// line, which butt line ends leave invisible.
class PolylinePath {
public:
    void clear();
    // Begins a run at the point, ending the open run, if any.
    void begin(PointF point) {
        runStarts_.push_back(points_.size());
        points_.push_back(point);
        open_ = true;
    }
    // Extends the open run, or begins one.
    void lineTo(PointF point) {
        if (!open_) {
            runStarts_.push_back(points_.size());
            open_ = true;
        }
        points_.push_back(point);
    }
    void end() { open_ = false; }

    std::size_t runCount() const { return runStarts_.size(); }
    std::span<const PointF> run(std::size_t index) const;

private:
    std::vector<PointF> points_;
    std::vector<std::size_t> runStarts_;
    bool open_ = false;
};

// Appends the dashes of a dashed line from `from` to `to`, each its own run, beginning with a
// dash; the last one is cut at `to`.
void appendDashedLine(PolylinePath& path, PointF from, PointF to, double dash, double gap);

// Rows `bottom` to `top` of one column of device pixels, counted from the surface's lower left.
struct ColumnSpan {
    std::int32_t column = 0;
    std::int32_t bottom = 0;
    std::int32_t top = 0;
    friend bool operator==(const ColumnSpan&, const ColumnSpan&) = default;
};

// Where a one-point line covers whole pixels, rather than two half-lit ones, on a screen of
// one or two pixels a point.
inline double onPixelCentre(std::int32_t x) {
    return static_cast<double>(x) + 0.5;
}

// What the graph needs of a drawing surface. Line ends are butt; each run is stroked on
// its own; text is placed with the lower-left corner of the string's box at the point.
class Painter {
public:
    virtual ~Painter() = default;
    virtual void fillRect(const RectF& rect, const Rgba& colour) = 0;
    virtual void strokeRect(const RectF& rect, const Rgba& colour, double lineWidth) = 0;
    virtual void strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) = 0;
    // Device pixels per point where runs are reduced to pixel columns when stroked; 0: never.
    virtual double pixelsPerUnit() const { return 0.0; }
    // Whether fillColumnSpans writes straight into pixels, so that it costs less than a stroke.
    virtual bool fillsColumnSpans() const { return false; }
    // Opaque, without anti-aliasing.
    virtual void fillColumnSpans(std::span<const ColumnSpan> spans, const Rgba& colour) = 0;
    virtual void drawText(PointF lowerLeft, std::string_view utf8,
                          const TextAttributes& attributes) = 0;
    // How far the string reaches to the right when drawn at that font size.
    virtual double textWidth(std::string_view utf8, double fontSize) = 0;
};

}  // namespace nuvisca
