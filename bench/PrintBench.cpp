#include <benchmark/benchmark.h>

#include <QPageSize>
#include <QString>

#include "bench/GraphScene.h"
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

}  // namespace
}  // namespace nuvisca::bench
