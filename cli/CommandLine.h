#pragma once

#include <QCommandLineParser>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nuvisca {
struct Recording;
}

namespace nuvisca::cli {

// The largest number the moving-average box shows.
inline constexpr int kLargestAverage = 30;

// A whole decimal number from low to high, with nothing after it.
std::optional<int> parseInt(std::string_view text, int low, int high);

// A finite decimal number from low to high, with nothing after it.
std::optional<double> parseDecimal(std::string_view text, double low, double high);

// The file name's suffix from its last dot, in ASCII lower case (".png"); empty without one
// (".profile" has none).
std::string lowerCaseSuffix(const std::string& path);

// Prints "nuvisca COMMAND: PROBLEM; see 'nuvisca COMMAND --help'" (no COMMAND when empty) to
// stderr; returns the usage-error exit status.
int usageError(std::string_view command, std::string_view problem);

// status, or the failure status (said on stderr) when stdout cannot take what was printed.
int finishOutput(int status);

// A --start or --end value: a slot number, or a clock time as the time axis counts it, which
// each recording turns into its own slot.
struct RangeBound {
    std::string option;  // "--start"
    std::string text;    // as given
    std::optional<std::int32_t> slot;
    std::optional<std::uint64_t> clock;  // seconds, when no slot number was given
};

struct RangeBounds {
    std::optional<RangeBound> start;
    std::optional<RangeBound> end;
};

// Slot numbers from low to high; none: any whole number.
struct SlotLimits {
    int low = 0;
    int high = 0;
};

struct SlotRange {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

// A range bound from its text: a slot number within `slots`, or a clock time; none for other
// text.
std::optional<RangeBound> parseRangeBound(std::string option, std::string_view text,
                                          SlotLimits slots);

// Whether the range runs forwards; else a usage error (said on stderr) naming the bounds given.
bool inOrder(std::string_view command, const RangeBounds& bounds, SlotRange range);
// The same check before any file is read, when the bounds given are slot numbers.
bool slotsInOrder(std::string_view command, const RangeBounds& bounds);

// `range` with each bound given replaced by its slot in the loaded recording: its number, or
// the first slot at or after its clock time. A clock time outside the recording is a usage
// error naming the recording's first and last time (said on stderr); none then.
std::optional<SlotRange> slotsOf(std::string_view command, const RangeBounds& bounds,
                                 SlotRange range, const Recording& store, const std::string& file);

// One command's options and operands. Options take their value as "--name V" or "--name=V"
// and may follow the operands; "--help" anywhere prints the usage; "--" ends the options.
// A last operand name ending in "..." takes one or more operands.
class CommandLine {
public:
    CommandLine(std::string_view command, std::string_view usage,
                std::vector<std::string_view> operandNames);

    void addOption(const char* name, bool takesValue = true);

    // An exit status when the arguments end the command: help shown or a usage error.
    std::optional<int> parse(std::span<const std::string_view> args);

    bool isSet(const char* name) const { return parser_.isSet(QLatin1String(name)); }
    std::string operand(std::size_t index) const { return operands_.at(index); }
    const std::vector<std::string>& operands() const { return operands_; }

    // Hands each value of the option to accept, in order; false (after the usage error) for
    // the first one it refuses, which is described as "--name takes WHAT, not 'VALUE'".
    bool readValues(const char* name, std::string_view what,
                    const std::function<bool(std::string_view)>& accept) const;
    bool readInt(const char* name, int low, int high, int& value) const;
    bool readInt(const char* name, int low, int high, std::optional<int>& value) const;
    bool readDecimal(const char* name, double low, double high, double& value) const;
    // --start and --end.
    bool readRangeBounds(std::optional<SlotLimits> limits, RangeBounds& bounds) const;

private:
    int usageError(std::string_view problem) const;

    std::string command_;
    std::string usage_;
    std::vector<std::string_view> operandNames_;
    QCommandLineParser parser_;
    std::vector<std::string> operands_;
};

}  // namespace nuvisca::cli
