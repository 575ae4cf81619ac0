#include <benchmark/benchmark.h>

#include <QPageSize>
#include <QString>

#include "bench/GraphScene.h"
#include "print/CaseReport.h"
#include "print/PageOutput.h"
#include "print/PrintPage.h"

namespace nuvisca::bench {
namespace {

// One print request of the graph as the view shows it, written as a one-page A4 PDF.
void printPagePdf(benchmark::State& state, bool widened) {
    GraphScene scene(widened);
    const QString path = QString::fromStdString((scratchFolder() / "page.pdf").string());
    const QPageSize paper(QPageSize::A4);
    for (auto _ : state) {
        PrintPage page(scene.recording.model);
        if (!writePrintedPage(path, paper, page)) {
            fail("cannot write the print page");
        }
    }
}
BENCHMARK_CAPTURE(printPagePdf, widened, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(printPagePdf, view900, false)->Unit(benchmark::kMillisecond);

// The case report of the full recording under review (a marker each hour, a 65 % threshold
// with its events) in 30-minute strips: 22 strips on 8 pages after page 1, written with fsync.
void caseReport(benchmark::State& state) {
    GraphScene scene(true);
    ViewModel& model = scene.recording.model;
    model.setAbsoluteThreshold(65.0);
    for (std::int32_t hour = 1; hour * 7200 < kSampleCapacity; ++hour) {
        model.addMarker({hour * 7200, 0, std::to_string(hour) + " 時間"});
    }
    const std::filesystem::path path = scratchFolder() / "report.pdf";
    std::error_code why;
    for (auto _ : state) {
        if (!saveCaseReport(path, model, 30, why)) {
            fail("cannot write the case report");
        }
    }
}
BENCHMARK(caseReport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nuvisca::bench
