#include <gtest/gtest.h>
#include <sys/wait.h>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QXmlStreamReader>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "formats/CsvTestSupport.h"
#include "print/PdfProbe.h"
#include "support/HostileFiles.h"
#include "support/NvdBuilder.h"
#include "support/TempDir.h"

namespace nuvisca::test {
namespace {

struct CliResult {
    int exitCode = -1;
    std::string out, err;
};

// The sanitizer reserves terabytes of shadow memory, so under it the runs go unlimited.
#if defined(__SANITIZE_ADDRESS__)
constexpr const char* kAddressSpace = "unlimited";
#else
constexpr const char* kAddressSpace = "1048576";  // KiB
#endif

// rSO2 40, 45, 70, 30, 35, then a restart at 09:00:10 (10 s on) with 42 and 41.
void writeRestartedRecording(const std::string& path) {
    NvdBuilder()
        .start(2013, 7, 15, 9, 0, 0)
        .end(9, 0, 11)
        .timeStamp(9, 0, 0, 0.40f, 0.5f, 0.25f)
        .continuation(0.45f, 0.5f, 0.25f)
        .continuation(0.70f, 0.5f, 0.25f)
        .continuation(0.30f, 0.5f, 0.25f)
        .continuation(0.35f, 0.5f, 0.25f)
        .timeStamp(9, 0, 10, 0.42f, 0.5f, 0.25f)
        .continuation(0.41f, 0.5f, 0.25f)
        .writeTo(path);
}

class CommandLineTest : public ::testing::Test {
protected:
    // Runs the built nuvisca in an address space of 1 GiB, without a runtime folder and with its
    // temporary files and data folder in the test's folder; its output passes through files
    // there. The arguments hold no single quotes. A signal shows as a status above 128.
    CliResult run(const std::vector<std::string>& args) const {
        std::string command = std::string("ulimit -v ") + kAddressSpace +
                              "; env -u XDG_RUNTIME_DIR TMPDIR='" + dir.path().string() +
                              "' XDG_DATA_HOME='" + file("data") + "' '" NUVISCA_CLI_PATH "'";
        for (const std::string& arg : args) {
            command += " '" + arg + "'";
        }
        command += " >'" + file("stdout.txt") + "' 2>'" + file("stderr.txt") + "' </dev/null";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(file("stdout.txt")),
                readBytes(file("stderr.txt"))};
    }

    std::string file(const std::string& name) const { return dir.file(name).string(); }

    TempDir dir;
    const std::string in = file("rec.NVD");
    // clang-format off
    const NvdBuilder recording = NvdBuilder().start(2013, 7, 15, 9, 5, 30).end(10, 5, 30).deviceId("49012AB567894")
        .timeStamp(9, 5, 30, 0.7f, 0.4f, 0.2f).continuation(0.71f, -1.0f, 0.21f).gap(9, 5, 35, 0.72f, 0.42f, 0.22f);
    // clang-format on
    void SetUp() override { recording.writeTo(in); }
};

// Options work before and after the operands; a successful run says nothing on stderr, and
// render leaves no runtime folder behind.
TEST_F(CommandLineTest, OptionsInBothFormsAndQuietRuns) {
    const CliResult info = run({"info", "--", in});
    EXPECT_EQ(info.out + info.err,
              "file: " + in +
                  "\nformat: NVD\ndate_key: 130715090530\ndevice_id: 4901200567894\n"
                  "start: 2013-07-15 09:05:30\nend: 10:05:30\nsamples: 10\nspan_samples: 7200\n"
                  "truncated: no\n");
    const auto csv = [&](const char* name) { return splitLines(readBytes(file(name))); };
    const auto secondLine = [&](const char* name) {
        return csv(name).size() > 1 ? csv(name)[1] : "";
    };
    writeText(file("r\xff.NVD"), readBytes(in));
    // clang-format off
    const std::vector<std::string> runs[] = {
        {"export", "--average=3", in, file("three.csv")},
        {"export", in, file("one.csv"), "--average", "1"},
        {"export", file("r\xff.NVD"), file("o\xff.csv")},
        {"render", in, file("default.png")}};
    // clang-format on
    for (const std::vector<std::string>& args : runs) {
        const CliResult result = run(args);
        EXPECT_EQ(result.exitCode, 0) << args[2];
        EXPECT_EQ(result.out + result.err, "") << args[2];
    }
    EXPECT_EQ(secondLine("three.csv").rfind("移動平均,3,終了時刻", 0), 0u);
    EXPECT_EQ(secondLine("one.csv").rfind(",,終了時刻", 0), 0u);
    EXPECT_EQ(csv("o\xff.csv"), csv("one.csv"));
    EXPECT_EQ(run({"info", file("one.csv")}).out.find("\nformat: CSV\ndate_key: 130715090530\n"),
              file("one.csv").size() + 6);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("nuvisca-")) << entry.path();
    }
}

// Help anywhere goes to stdout; failures (1) and usage errors (2) say why in one line on stderr
// and write nothing.
TEST_F(CommandLineTest, HelpFailuresAndUsageErrors) {
    const std::string notes = file("notes.csv");
    const std::string out = file("new.csv");
    writeText(notes, "just some text\n");
    const std::string late = file("late.NVD");
    NvdBuilder().start(2090, 1, 2, 9, 0, 0).timeStamp(9, 0, 0, 0.7f, 0.4f, 0.2f).writeTo(late);
    const std::string outOf100 = "nuvisca stats: --threshold takes a number from 0 to 100, not '";
    const std::string notRecording = ": not a device recording or CSV export";
    const std::string missing = file("missing.NVD");
    // clang-format off
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"info", in, "--help"}, 0, "usage: nuvisca info FILE...\n"},
        {{"render", in, out, "--zoom", "2", "-h"}, 0, "usage: nuvisca render IN OUT.png"},
        {{"--help"}, 0, "usage: nuvisca COMMAND"},
        {{"--version"}, 0, "nuvisca " NUVISCA_VERSION "\n"},
        {{"export", late, file("r.edf")}, 1, "nuvisca: " + late + ": the start year 2090 lies outside"},
        {{"info", missing}, 1, "nuvisca: " + missing + ": cannot open ("},
        {{"info", dir.path().string()}, 1, "nuvisca: " + dir.path().string() + ": not a regular file"},
        {{"export", notes, out}, 1, "nuvisca: " + notes + notRecording},
        {{"export", in, file("no/new.csv")}, 1, "nuvisca: " + file("no/new.csv") + ": cannot write the export (No such file or directory)\n"},
        {{}, 2, "nuvisca: missing COMMAND; see 'nuvisca --help'"},
        {{"draw", in}, 2, "nuvisca: unknown command 'draw'"},
        {{"export", in, out, in}, 2, "nuvisca export: unexpected argument '" + in + "'; see 'nuvisca export --help'"},
        {{"render", in, out, "-v"}, 2, "nuvisca render: unknown option '-v'"},
        {{"export", in, out, "--page"}, 2, "nuvisca export: unknown option '--page'"},
        {{"render", in, out, "--page=A4"}, 2, "nuvisca render: unexpected value after '--page'"},
        {{"info"}, 2, "nuvisca info: missing FILE"},
        {{"render"}, 2, "nuvisca render: missing IN and OUT.png"},
        {{"export", in, out, "--average", "0"}, 2, "nuvisca export: --average takes a whole number from 1 to 30, not '0'"},
        {{"export", in, out, "--average=31"}, 2, "nuvisca export: --average takes a whole number from 1 to 30, not '31'"},
        {{"render", in, out, "--zoom=5"}, 2, "nuvisca render: --zoom takes a whole number from 0 to 4, not '5'"},
        {{"render", in, out, "--hide", "hb", "--hide", "tohb"}, 2, "nuvisca render: --hide takes a comma list"},
        {{"--version", "x"}, 2, "nuvisca: --version takes no arguments"},
        {{"events", in, "--help"}, 0, "usage: nuvisca events FILE..."},
        {{"stats", in, "--drop", "101"}, 2, "nuvisca stats: --drop takes a number from 0 to 100, not '101'"},
        {{"events", in, "--min-duration=-1"}, 2, "nuvisca events: --min-duration takes a number from 0 to 38400, not '-1'"},
        {{"events", in, "--baseline-minutes", "641"}, 2, "nuvisca events: --baseline-minutes takes a whole number from 1 to 640, not '641'"},
        {{"events", in, "--baseline-range", "5"}, 2, "nuvisca events: --baseline-range takes FROM-TO, each a whole number from 0 to 76800 or a clock time HH:MM[:SS], not '5'"},
        {{"stats", missing, "--baseline-range", "10-5"}, 2, "nuvisca stats: --baseline-range 10-5 ends before it begins"},
        {{"events", in, "--baseline-range", "09:05:31-09:05:30"}, 2, "nuvisca events: --baseline-range 09:05:31-09:05:30 ends before it begins"},
        {{"events", in, "--baseline", "60", "--baseline-minutes", "1"}, 2, "nuvisca events: --baseline-minutes, --baseline-range and --baseline exclude each other"},
        {{"events", in, "--baseline-range", "09:05:30-10:00"}, 2, "nuvisca events: --baseline-range 10:00 lies outside " + in + " (09:05:30 to "},
        // Slots 3 and 4 lie in the pause.
        {{"stats", in, "--baseline-range", "3-5"}, 1, "nuvisca: " + in + ": no rSO2 value counts in the baseline slots 3 to 5\n"},
        {{"events", in, "--baseline", "100", "--drop", "0", "--min-duration", "38400"}, 0, "file: " + in},
        {{"render", in, file("r.pdf")}, 2, "nuvisca render: OUT must end in .png, .jpg, .jpeg, .bmp or .svg"},
        {{"render", in, file("r.bmp"), "--page"}, 2, "nuvisca render: OUT must end in"},
        {{"render", in, file("r.svg"), "--page"}, 2, "nuvisca render: OUT must end in"},
        {{"render", in, file("r.svg"), "--scale", "2"}, 2, "nuvisca render: --scale applies to pixel images, not to .svg;"},
        {{"render", in, file("r.png"), "--paper", "A3"}, 2, "nuvisca render: --paper needs --page"},
        {{"render", in, file("r.png"), "--page", "--paper", "A4 "}, 2, "nuvisca render: --paper takes a paper name"},
        {{"render", in, file("r.png"), "--scale=4.5"}, 2, "nuvisca render: --scale takes a number from 1 to 4, not '4.5'"},
        {{"export", in, file("r.txt")}, 2, "nuvisca export: OUT must end in .csv, .edf or .bdf"},
        {{"stats", in, "--threshold", "nan"}, 2, outOf100 + "nan'"},
        {{"stats", in, "--threshold=100.5"}, 2, outOf100 + "100.5'"},
        {{"stats", in, "--end", "1.5"}, 2, "nuvisca stats: --end takes a whole number or a clock time HH:MM[:SS], not '1.5'"},
        {{"stats", in, "--start", "25:61"}, 2, "nuvisca stats: --start takes a whole number or a clock time HH:MM[:SS], not '25:61'"},
        {{"render", in, file("r.png"), "--end", "9:3"}, 2, "nuvisca render: --end takes a whole number from 0 to 76800 or a clock time HH:MM[:SS], not '9:3'"},
        {{"render", in, file("r.png"), "--end", "10:00"}, 2, "nuvisca render: --end 10:00 lies outside " + in + " (09:05:30 to "},
        {{"stats", in, "--start", "09:05:29"}, 2, "nuvisca stats: --start 09:05:29 lies outside " + in + " (09:05:30 to "},
        {{"stats", in, "--start", "100", "--end", "50"}, 2, "nuvisca stats: --end 50 comes before --start 100"},
        {{"stats", missing, "--end", "-1"}, 2, "nuvisca stats: --end -1 comes before slot 0"},
        {{"stats", in, "--start", "09:05:31", "--end", "09:05:30"}, 2, "nuvisca stats: --end 09:05:30 comes before --start 09:05:31"},
        // The largest value each numeric option takes.
        {{"render", in, file("max.png"), "--zoom", "4", "--average", "30", "--start", "76800", "--end", "76800", "--size", "4096x64", "--scale", "4"}, 0, ""},
        {{"render", in, file("wide.png"), "--size", "16384x16"}, 0, ""},
        {{"export", in, file("max.csv"), "--average", "30"}, 0, ""},
        {{"stats", in, "--threshold", "100", "--average", "30"}, 0, "file: " + in},
        {{"render", in, out, "--size", "0x10"}, 2, "nuvisca render: --size takes WxH, each from 1 to 16384, not '0x10'"}};
    // clang-format on
    for (const auto& [args, exitCode, expected] : cases) {
        const CliResult result = run(args);
        EXPECT_EQ(result.exitCode, exitCode) << expected;
        const std::string& text = exitCode == 0 ? result.out : result.err;
        EXPECT_EQ(text.rfind(expected, 0), 0u) << text;
        EXPECT_EQ(exitCode == 0 ? result.err : result.out, "");
        EXPECT_TRUE(exitCode == 0 || text.find('\n') == text.size() - 1) << "one line: " << text;
    }
    for (const std::string& name : {out, file("r.pdf"), file("r.bmp"), file("r.png"), file("r.svg"),
                                    file("r.txt"), file("r.edf")}) {
        EXPECT_FALSE(std::filesystem::exists(name)) << name;
    }
}

// report takes the review options of stats and events but not their range, writes only PDF,
// and says what it was asked for on its pages.
TEST_F(CommandLineTest, ReportUsageErrorsAndItsPages) {
    const std::string pdf = file("case.pdf");
    // clang-format off
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"report", in, "--help"}, 0, "usage: nuvisca report IN OUT.pdf"},
        {{"report", in}, 2, "nuvisca report: missing OUT.pdf"},
        {{"report", in, file("case.png")}, 2, "nuvisca report: OUT must end in .pdf, not '"},
        {{"report", in, pdf, "--start", "5"}, 2, "nuvisca report: the report covers the whole recording"},
        {{"report", in, pdf, "--csv"}, 2, "nuvisca report: the report covers the whole recording"},
        {{"report", in, pdf, "--minutes-per-strip", "0"}, 2, "nuvisca report: --minutes-per-strip takes a whole number from 1 to 640, not '0'"},
        {{"report", in, pdf, "--baseline", "60", "--baseline-minutes", "1"}, 2, "nuvisca report: --baseline-minutes, --baseline-range and --baseline exclude each other"},
        {{"report", in, pdf, "--baseline-range", "3-5"}, 1, "nuvisca: " + in + ": no rSO2 value counts in the baseline slots 3 to 5\n"},
        {{"report", in, file("no/case.pdf")}, 1, "nuvisca report: cannot write " + file("no/case.pdf") + " (No such file or directory)\n"}};
    // clang-format on
    for (const auto& [args, exitCode, expected] : cases) {
        const CliResult result = run(args);
        EXPECT_EQ(result.exitCode, exitCode) << expected;
        const std::string& text = exitCode == 0 ? result.out : result.err;
        EXPECT_EQ(text.rfind(expected, 0), 0u) << text;
    }
    EXPECT_FALSE(std::filesystem::exists(pdf));

    // The marker file gives the markers and, unless an option sets one, the baseline.
    writeText(file("rec.events.tsv"),
              "onset\tduration\ttrial_type\tclock\tvalue\n"
              "0.0\tn/a\tbaseline/typed\t09:05:30\t70\n"
              "1.0\tn/a\t導入\t09:05:31\tn/a\n");
    const auto report = [&](std::vector<std::string> options) {
        options.insert(options.begin(), {"report", in, pdf});
        const CliResult made = run(options);
        EXPECT_EQ(std::tuple(made.exitCode, made.out, made.err), std::tuple(0, "", ""));
        const QString info = toolOutput(u"pdfinfo"_s, {QString::fromStdString(pdf)});
        EXPECT_TRUE(info.contains(QRegularExpression(u"Pages: +2\n"_s))) << info.toStdString();
        return pdfText(QString::fromStdString(pdf)).remove(u' ');
    };
    const auto holds = [](const QString& text, const QString& wanted) {
        return text.contains(wanted.normalized(QString::NormalizationForm_KC).remove(u' '));
    };
    const QString kept = report({"--threshold=60", "--average", "3"});
    for (const QString& wanted : {u"rec.NVD"_s, u"移動平均 3"_s, u"70.00 %（入力）"_s,
                                  u"有効 60.0 %"_s, u"開始 – 導入"_s, u"導入 – 終了"_s}) {
        EXPECT_TRUE(holds(kept, wanted)) << wanted.toStdString();
    }
    EXPECT_TRUE(holds(report({"--baseline", "65"}), u"65.00 %（入力）"_s));
    const QString unread = report({"--no-markers"});
    EXPECT_FALSE(holds(unread, u"導入"_s));
    EXPECT_TRUE(holds(unread, u"ベースラインなし"_s));
    const CliResult between = run({"report", in, pdf, "--between", "開始", "導入"});
    EXPECT_EQ(between.exitCode, 2);
    EXPECT_TRUE(between.err.starts_with("nuvisca report: the report covers the whole recording"))
        << between.err;
}

// render and export write the format the output's suffix names, render at the pixel size
// --scale makes and at the same size on paper, on the paper named, and under the path's own
// bytes; the page says what it shows.
TEST_F(CommandLineTest, OutputFormats) {
    // clang-format off
    const std::tuple<std::string, std::string, QByteArray, QSize> images[] = {
        {"g.JPG", "1", "jpeg", {300, 200}}, {"g.bmp", "1", "bmp", {300, 200}},
        {"g2.png", "2", "png", {600, 400}}, {"g\xff.jpeg", "1.5", "jpeg", {450, 300}}};
    // clang-format on
    std::optional<double> width;  // metres, of the first image
    for (const auto& [name, scale, format, size] : images) {
        EXPECT_EQ(run({"render", in, file(name), "--size", "300x200", "--scale", scale}).exitCode,
                  0);
        QByteArray bytes = QByteArray::fromStdString(readBytes(file(name)));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(QImageReader::imageFormat(&buffer), format) << name;
        const QImage image = QImage::fromData(bytes);
        EXPECT_EQ(image.size(), size) << name;
        width = width.value_or(image.width() / double(image.dotsPerMeterX()));
        EXPECT_NEAR(image.width() / double(image.dotsPerMeterX()), *width, *width / 100) << name;
    }
    EXPECT_EQ(run({"render", in, file("p\xff.pdf"), "--page"}).exitCode, 0);
    EXPECT_EQ(readBytes(file("p\xff.pdf")).substr(0, 5), "%PDF-");
    // The page names the average and the device as read (a letter in its id reads as 0).
    EXPECT_EQ(run({"render", in, file("p.pdf"), "--page", "--average", "10"}).exitCode, 0);
    const QString text = pdfText(QString::fromStdString(file("p.pdf")));
    EXPECT_TRUE(text.contains(u"終了時刻 10時05分30秒 移動平均 10"_s) &&
                text.contains(u"ID 4901200567894"_s))
        << text.toStdString();
    // Landscape sheets at 150 dpi; B5 is the Japanese one.
    for (const auto& [paper, size] : {std::pair{"a5", QSize(1240, 875)}, {"b5", {1519, 1075}}}) {
        EXPECT_EQ(run({"render", in, file("sheet.png"), "--page", "--paper", paper}).exitCode, 0);
        EXPECT_EQ(QImage(QString::fromStdString(file("sheet.png"))).size(), size) << paper;
    }
    for (const auto& [name, magic] :
         {std::pair{"x.edf", "0       EDF+C"}, {"x.BDF", "\377BIOSEMIBDF+C"}}) {
        EXPECT_EQ(run({"export", in, file(name), "--average", "2"}).exitCode, 0) << name;
        const std::string bytes = readBytes(file(name));
        EXPECT_EQ(bytes.substr(0, 8) + bytes.substr(192, 5), magic);
    }
}

// An SVG is the graph as vector shapes and text, not a picture in a frame, as the PDF page is.
TEST_F(CommandLineTest, SvgAndPdfPageHoldVectorShapesAndText) {
    ASSERT_EQ(run({"render", in, file("g.svg"), "--size", "600x400"}).exitCode, 0);
    QXmlStreamReader svg(QByteArray::fromStdString(readBytes(file("g.svg"))));
    std::map<QString, int> elements;
    QString text;
    while (!svg.atEnd()) {
        if (svg.readNext() == QXmlStreamReader::StartElement) {
            ++elements[svg.name().toString()];
            if (svg.name() == u"text") {
                text += svg.readElementText();
            }
        } else if (svg.isStartDocument()) {
            EXPECT_EQ(svg.documentEncoding(), u"UTF-8");
        }
    }
    ASSERT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(elements[u"image"_s], 0);
    EXPECT_GT(elements[u"polyline"_s] + elements[u"path"_s], 20) << "grid, ticks and traces";
    EXPECT_TRUE(text.contains(u"測定日時 2013年07月15日 09時05分30秒"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"rSO2[%]"_s));

    ASSERT_EQ(run({"render", in, file("p.pdf"), "--page"}).exitCode, 0);
    EXPECT_EQ(pdfImageCount(QString::fromStdString(file("p.pdf"))), 0);
}

// info, stats and events go through every file, name each one that fails on stderr and fail at
// the end; stats and events pass their range, thresholds and baseline on.
TEST_F(CommandLineTest, SeveralFiles) {
    const std::string a = file("a,b.NVD");
    const std::string missing = file("missing.NVD");
    const std::string notFound =
        "nuvisca: " + missing + ": cannot open (No such file or directory)\n";
    NvdBuilder()
        .timeStamp(9, 0, 0, 0.40f, 0.5f, 0.25f)
        .continuation(0.60f, 0.3f, 0.2f)
        .continuation(0.0f, 0.1f, -1.0f)
        .continuation(0.45f, -1.0f, 0.15f)
        .writeTo(a);
    const CliResult info = run({"info", in, missing, a});
    EXPECT_EQ(info.exitCode, 1);
    EXPECT_EQ(info.out.substr(0, info.out.find("\n\n") + a.size() + 9),
              run({"info", in}).out + "\nfile: " + a + "\n");
    EXPECT_EQ(info.err, notFound);

    // rSO2 40, 60, 0 (no value) and 45: three values below or above a threshold of 55.
    const CliResult csv = run({"stats", a, missing, a, "--csv", "--threshold", "55"});
    EXPECT_EQ(csv.exitCode, 1);
    EXPECT_EQ(csv.err, notFound);
    const std::vector<std::string> rows = splitLines(csv.out);
    ASSERT_EQ(rows.size(), 3u) << csv.out;
    EXPECT_EQ(rows[0].rfind("file,start,end,", 0), 0u);
    EXPECT_EQ(rows[1].rfind("\"" + a + "\",0,4,3,48.33,40.00,60.00,", 0), 0u) << rows[1];
    EXPECT_NE(rows[1].find(",55.00,"), std::string::npos) << rows[1];
    EXPECT_EQ(rows[2], rows[1]);

    const CliResult text = run({"stats", a, a, "--start=1", "--end", "3"});
    const std::string block = text.out.substr(0, text.out.find("\n\n") + 1);
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out + text.err, block + "\n" + block);
    EXPECT_NE(block.find("\nrange: 1 to 3 (2 slots)\nseries: measured\nrso2: n 1, mean 60.00,"),
              std::string::npos)
        << block;

    // Clock times as the time axis counts them: begun at 23:59:58 (slots 0 to 3), restarted at
    // 00:00:05, counted 24:00:05 (slot 4); a time in the pause names the restart.
    const std::string night = file("night.NVD");
    NvdBuilder builder;
    builder.start(2013, 7, 15, 23, 59, 58).end(0, 1, 0).timeStamp(23, 59, 58, 0.6f, 0.3f, 0.2f);
    for (int k = 1; k < 10; ++k) {
        if (k == 4) {
            builder.timeStamp(0, 0, 5, 0.6f, 0.3f, 0.2f);
        } else {
            builder.continuation(0.6f, 0.3f, 0.2f);
        }
    }
    builder.writeTo(night);
    const CliResult clock = run({"stats", night, "--start", "23:59:59", "--end", "24:00"});
    EXPECT_EQ(clock.exitCode, 0) << clock.err;
    EXPECT_NE(clock.out.find("\nrange: 2 to 4 (2 slots)\n"), std::string::npos) << clock.out;
    EXPECT_EQ(run({"render", night, file("slots.png"), "--start", "2", "--end", "4"}).exitCode, 0);
    EXPECT_EQ(
        run({"render", night, file("clock.png"), "--start", "23:59:59", "--end", "24:00"}).exitCode,
        0);
    EXPECT_EQ(readBytes(file("clock.png")), readBytes(file("slots.png")));

    const std::string e = file("e.NVD");
    writeRestartedRecording(e);
    // Below 50 for a second or more: 0-1 (shortfall 15, 0.125 %·min, rounded to even), 3-4
    // (35) and from the restart 5-6 (17).
    const CliResult events =
        run({"events", e, missing, "a,b.NVD", e, "--min-duration", "1", "--csv", "--end", "7"});
    const std::string rows3 = e + ",1,0,2,09:00:00,00:00:00,1.0,40.00,0.12,50.00\n" + e +
                              ",2,3,5,09:00:01,00:00:01,1.0,30.00,0.29,50.00\n" + e +
                              ",3,5,7,09:00:10,00:00:10,1.0,41.00,0.14,50.00\n";
    EXPECT_EQ(events.exitCode, 1);
    EXPECT_EQ(events.out,
              "file,event,start,end,onset,elapsed,duration_s,nadir,auc_below,threshold\n" + rows3 +
                  rows3);
    EXPECT_EQ(events.err, notFound + "nuvisca: a,b.NVD: cannot open (No such file or directory)\n");
    // At the default 15 s none; the table still sums up.
    EXPECT_EQ(
        run({"events", e}).out,
        "file: " + e +
            "\nrange: 0 to 7 (7 slots)\nthreshold: 50.00 %, events of at least 15.0 s\n"
            "events: 0, 0.0 s (0.0 min), area 0.00 %·min; monitored 3.5 s, 0.00 %·min per hour\n");

    // The baseline of the first minute is the mean of all seven, 303 / 7; with no fall allowed and
    // no absolute threshold it is the threshold: 40, 30, 35, 42 and 41 lie below (2.5 s,
    // 28.43 x 0.5 / 60 %·min), in two runs of a second or more. A typed 75 less 20 % is 60.
    const CliResult baseline = run({"stats", e, "--csv", "--baseline-minutes", "1", "--drop", "0",
                                    "--threshold", "0", "--min-duration", "1"});
    EXPECT_EQ(baseline.exitCode, 0) << baseline.err;
    EXPECT_TRUE(baseline.out.ends_with(",43.29,2.5,0.24,43.29,2\n")) << baseline.out;
    const CliResult relative = run({"events", e, "--baseline", "75", "--min-duration=1", "--csv"});
    EXPECT_EQ(splitLines(relative.out).size(), 4u) << relative.out;
    EXPECT_TRUE(relative.out.ends_with(",3,5,7,09:00:10,00:00:10,1.0,41.00,0.31,60.00\n"))
        << relative.out;
}

// The markers and baseline kept beside a recording: --between ranges by them, the baseline is
// theirs unless an option sets one, export carries the markers, render draws them; a faulty
// marker file is named and what was sound is used; --no-markers leaves it unread.
TEST_F(CommandLineTest, MarkerFile) {
    const std::string e = file("e.NVD");
    writeRestartedRecording(e);
    const std::string sidecar = file("e.events.tsv");
    // The baseline's slots 0 and 1 are measured again, as the viewer does: 42.5.
    writeText(sidecar,
              "onset\tduration\ttrial_type\tclock\tvalue\n"
              "0.0\t1.0\tbaseline/range\t09:00:00\t99\n"
              "1.0\tn/a\t導入\t09:00:01\tn/a\n"
              "1.0\tn/a\tnot a number\n"
              "10.0\t0.5\t再開\t09:00:10\tn/a\n");
    const std::string warning = "nuvisca: " + sidecar +
                                ": 1 row left out as unreadable or outside the recording (the "
                                "first on line 4)\n";
    const CliResult between = run({"stats", e, "--between", "導入", "再開", "--csv"});
    EXPECT_EQ(between.exitCode, 0);
    EXPECT_EQ(between.err, warning);
    ASSERT_EQ(splitLines(between.out).size(), 2u) << between.out;
    const std::string row = splitLines(between.out)[1];
    EXPECT_EQ(row.rfind(e + ",2,5,3,45.00,30.00,70.00,", 0), 0u) << row;
    EXPECT_TRUE(row.ends_with(",42.50,0")) << row;
    const CliResult typed = run({"stats", e, "--csv", "--baseline", "60"});
    EXPECT_EQ(typed.err, "");  // the marker file is not needed
    EXPECT_TRUE(typed.out.ends_with(",60.00,0\n")) << typed.out;
    const CliResult unread = run({"events", e, "--no-markers"});
    EXPECT_EQ(unread.err, "");
    EXPECT_EQ(unread.out.find("rso2_baseline"), std::string::npos) << unread.out;
    EXPECT_NE(run({"events", e})
                  .out.find("\nrso2_baseline: 42.50 % (range: mean of 2 values in slots 0 to 2)"),
              std::string::npos);

    const std::string list = "; its markers: '導入', '再開'; see 'nuvisca ";
    // clang-format off
    const std::tuple<std::vector<std::string>, std::string> usage[] = {
        {{"stats", e, "--between", "再開", "導入"}, "nuvisca stats: --between: marker '導入' (slot 2) is not after '再開' (slot 5) in " + e + list + "stats --help'\n"},
        {{"events", e, "--between", "導入", "導入"}, "nuvisca events: --between: marker '導入' (slot 2) is not after '導入' (slot 2) in " + e + list + "events --help'\n"},
        {{"events", e, "--between", "導入", "end"}, "nuvisca events: " + e + " has no marker 'end'" + list + "events --help'\n"},
        {{"stats", in, "--between", "a", "b"}, "nuvisca stats: " + in + " has no marker 'a'; it has no markers; see 'nuvisca stats --help'\n"},
        {{"stats", e, "--between", "導入"}, "nuvisca stats: --between takes two marker labels; see 'nuvisca stats --help'\n"},
        {{"stats", e, "--between", "a", "b", "--between", "a", "b"}, "nuvisca stats: --between comes once; see 'nuvisca stats --help'\n"},
        {{"stats", e, "--between", "a", "b", "--start", "1"}, "nuvisca stats: --between excludes --start and --end; see 'nuvisca stats --help'\n"},
        {{"events", e, "--no-markers", "--between", "a", "b"}, "nuvisca events: --between needs the markers that --no-markers leaves out; see 'nuvisca events --help'\n"}};
    // clang-format on
    for (const auto& [args, expected] : usage) {
        const CliResult result = run(args);
        EXPECT_EQ(result.exitCode, 2) << expected;
        EXPECT_EQ(result.err.substr(result.err.rfind('\n', result.err.size() - 2) + 1), expected);
        EXPECT_EQ(result.out, "");
    }

    // Annotations in EDF+ with their onset on the timeline; none with --no-markers.
    EXPECT_EQ(run({"export", e, file("m.edf")}).exitCode, 0);
    EXPECT_EQ(run({"export", e, file("n.edf"), "--no-markers"}).err, "");
    const std::string marked = readBytes(file("m.edf"));
    EXPECT_NE(marked.find("+1\x14導入\x14"), std::string::npos);
    EXPECT_NE(marked.find("+10\x15"
                          "0.5\x14再開\x14"),
              std::string::npos);
    EXPECT_EQ(readBytes(file("n.edf")).find("導入"), std::string::npos);
    std::filesystem::rename(sidecar, file("kept.tsv"));
    EXPECT_EQ(run({"export", e, file("none.edf")}).err, "");
    EXPECT_EQ(readBytes(file("none.edf")), readBytes(file("n.edf")));
    std::filesystem::rename(file("kept.tsv"), sidecar);

    // The baseline is drawn from the marker file.
    EXPECT_EQ(run({"render", e, file("kept.png")}).exitCode, 0);
    EXPECT_EQ(run({"render", e, file("plain.png"), "--no-markers"}).err, "");
    EXPECT_NE(readBytes(file("kept.png")), readBytes(file("plain.png")));

    // A marker file that is none is named, and the command goes on without it.
    writeText(sidecar, std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    const CliResult refused = run({"stats", e});
    EXPECT_EQ(refused.exitCode, 0);
    EXPECT_EQ(refused.err, "nuvisca: " + sidecar +
                               ": not a marker file (UTF-8 text with the columns onset, "
                               "duration and trial_type); ignored\n");
}

// Huge and odd files end with 0, or 1 and a message, never a signal. All commands read
// through the same input; render also draws what it read.
TEST_F(CommandLineTest, HugeAndOddFiles) {
    for (const auto& [path, readable] : writeHostileFiles(dir.path())) {
        const CliResult result = run({"render", path, file("out.png")});
        EXPECT_EQ(result.exitCode, readable ? 0 : 1) << path;
        EXPECT_EQ(result.err,
                  readable ? "" : "nuvisca: " + path.string() + ": too large to be a CSV export\n");
    }
}

}  // namespace
}  // namespace nuvisca::test
