#include "cli/CommandLine.h"

#include <QStringList>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "cli/Commands.h"
#include "graph/SlotClock.h"
#include "store/Recording.h"

namespace nuvisca::cli {
namespace {

// Latin-1 maps each byte to one character and back, so file names in any encoding (or none)
// reach the file system unchanged.
QString toQString(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

// Bounds such as 0, 100 or 1.5 as people write them.
std::string formatNumber(double value) {
    char buffer[32];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr};
}

std::string wholeNumberFrom(int low, int high) {
    return "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
}

std::string inQuotes(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.append(1, '\'').append(text).append(1, '\'');
    return out;
}

}  // namespace

std::optional<int> parseInt(std::string_view text, int low, int high) {
    int value = 0;
    const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || rest != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDecimal(std::string_view text, double low, double high) {
    double value = 0.0;
    const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || rest != text.data() + text.size() || !std::isfinite(value) ||
        value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

int usageError(std::string_view command, std::string_view problem) {
    const std::string name = command.empty() ? "nuvisca" : "nuvisca " + std::string(command);
    std::fprintf(stderr, "%s: %.*s; see '%s --help'\n", name.c_str(),
                 static_cast<int>(problem.size()), problem.data(), name.c_str());
    return kExitUsage;
}

std::string lowerCaseSuffix(const std::string& path) {
    const std::size_t name = path.find_last_of('/') + 1;  // 0 without a slash
    const std::size_t dot = path.find_last_of('.');
    std::string suffix = dot == std::string::npos || dot <= name ? "" : path.substr(dot);
    for (char& c : suffix) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return suffix;
}

int finishOutput(int status) {
    if (std::fflush(stdout) != 0) {
        std::fputs("nuvisca: cannot write the output\n", stderr);
        return kExitFailure;
    }
    return status;
}

CommandLine::CommandLine(std::string_view command, std::string_view usage,
                         std::vector<std::string_view> operandNames)
    : command_(command), usage_(usage), operandNames_(std::move(operandNames)) {
    parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
}

void CommandLine::addOption(const char* name, bool takesValue) {
    parser_.addOption(QCommandLineOption(QLatin1String(name), QString(),
                                         takesValue ? QStringLiteral("value") : QString()));
}

std::optional<int> CommandLine::parse(std::span<const std::string_view> args) {
    QStringList list{QStringLiteral("nuvisca")};
    for (const std::string_view arg : args) {
        list.append(toQString(arg));
    }
    const bool parsed = parser_.parse(list);
    if (parser_.isSet(QStringLiteral("help"))) {
        std::fputs(usage_.c_str(), stdout);
        return kExitOk;
    }
    if (!parser_.unknownOptionNames().isEmpty()) {
        const QString name = parser_.unknownOptionNames().front();
        return usageError("unknown option " +
                          inQuotes((name.size() == 1 ? "-" : "--") + toBytes(name)));
    }
    if (!parsed) {
        // Qt's own words for a missing or unexpected option value, as a clause.
        std::string problem = toBytes(parser_.errorText());
        if (!problem.empty() && problem.back() == '.') {
            problem.pop_back();
        }
        if (!problem.empty() && problem.front() >= 'A' && problem.front() <= 'Z') {
            problem.front() = static_cast<char>(problem.front() - 'A' + 'a');
        }
        return usageError(problem);
    }
    for (const QString& operand : parser_.positionalArguments()) {
        operands_.push_back(toBytes(operand));
    }
    const bool variadic = !operandNames_.empty() && operandNames_.back().ends_with("...");
    if (!variadic && operands_.size() > operandNames_.size()) {
        return usageError("unexpected argument " + inQuotes(operands_[operandNames_.size()]));
    }
    if (operands_.size() < operandNames_.size()) {
        std::string missing = "missing";
        for (std::size_t k = operands_.size(); k < operandNames_.size(); ++k) {
            std::string_view name = operandNames_[k];
            name.remove_suffix(name.ends_with("...") ? 3 : 0);
            missing += (k == operands_.size() ? " " : " and ") + std::string(name);
        }
        return usageError(missing);
    }
    return std::nullopt;
}

bool CommandLine::readValues(const char* name, std::string_view what,
                             const std::function<bool(std::string_view)>& accept) const {
    for (const QString& text : parser_.values(QLatin1String(name))) {
        const std::string value = toBytes(text);
        if (!accept(value)) {
            usageError("--" + std::string(name) + " takes " + std::string(what) + ", not " +
                       inQuotes(value));
            return false;
        }
    }
    return true;
}

bool CommandLine::readInt(const char* name, int low, int high, std::optional<int>& value) const {
    return readValues(name, wholeNumberFrom(low, high), [&](std::string_view text) {
        const std::optional<int> number = parseInt(text, low, high);
        value = number ? number : value;
        return number.has_value();
    });
}

bool CommandLine::readInt(const char* name, int low, int high, int& value) const {
    std::optional<int> read;
    const bool ok = readInt(name, low, high, read);
    value = read.value_or(value);
    return ok;
}

bool CommandLine::readDecimal(const char* name, double low, double high, double& value) const {
    const std::string what = "a number from " + formatNumber(low) + " to " + formatNumber(high);
    return readValues(name, what, [&](std::string_view text) {
        const std::optional<double> number = parseDecimal(text, low, high);
        value = number.value_or(value);
        return number.has_value();
    });
}

bool CommandLine::readRangeBounds(std::optional<SlotLimits> limits, RangeBounds& bounds) const {
    const SlotLimits slots = limits.value_or(
        SlotLimits{std::numeric_limits<int>::min(), std::numeric_limits<int>::max()});
    const std::string what = (limits ? wholeNumberFrom(slots.low, slots.high) : "a whole number") +
                             " or a clock time HH:MM[:SS]";
    const auto read = [&](const char* name, std::optional<RangeBound>& value) {
        return readValues(name, what, [&](std::string_view text) {
            std::optional<RangeBound> bound =
                parseRangeBound("--" + std::string(name), text, slots);
            if (!bound) {
                return false;
            }
            value = std::move(bound);
            return true;
        });
    };
    return read("start", bounds.start) && read("end", bounds.end);
}

std::optional<RangeBound> parseRangeBound(std::string option, std::string_view text,
                                          SlotLimits slots) {
    RangeBound bound{std::move(option), std::string(text), std::nullopt, std::nullopt};
    if (const std::optional<int> slot = parseInt(text, slots.low, slots.high)) {
        bound.slot = *slot;
    } else if (!(bound.clock = parseClock(text))) {
        return std::nullopt;
    }
    return bound;
}

bool inOrder(std::string_view command, const RangeBounds& bounds, SlotRange range) {
    if (range.end >= range.start) {
        return true;
    }
    const RangeBound& end = *bounds.end;
    if (bounds.start && bounds.start->option == end.option) {
        usageError(command, end.option + " " + bounds.start->text + "-" + end.text +
                                " ends before it begins");
    } else {
        usageError(command,
                   end.option + " " + end.text + " comes before " +
                       (bounds.start ? bounds.start->option + " " + bounds.start->text : "slot 0"));
    }
    return false;
}

bool slotsInOrder(std::string_view command, const RangeBounds& bounds) {
    return !bounds.end || !bounds.end->slot || (bounds.start && !bounds.start->slot) ||
           inOrder(command, bounds, {bounds.start ? *bounds.start->slot : 0, *bounds.end->slot});
}

std::optional<SlotRange> slotsOf(std::string_view command, const RangeBounds& bounds,
                                 SlotRange range, const Recording& store, const std::string& file) {
    for (const auto& [bound, slot] :
         {std::pair(&bounds.start, &range.start), {&bounds.end, &range.end}}) {
        if (!*bound) {
            continue;
        }
        const std::optional<std::int32_t> found =
            (*bound)->slot ? (*bound)->slot : slotAtClock(store, *(*bound)->clock);
        if (!found) {
            const ClockSpan span = recordingClockSpan(store);
            usageError(command, (*bound)->option + " " + (*bound)->text + " lies outside " + file +
                                    " (" + formatClock(span.first) + " to " +
                                    formatClock(span.last) + ")");
            return std::nullopt;
        }
        *slot = *found;
    }
    return range;
}

int CommandLine::usageError(std::string_view problem) const {
    return cli::usageError(command_, problem);
}

}  // namespace nuvisca::cli
