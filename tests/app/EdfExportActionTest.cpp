#include <edflib.h>

#include <QStatusBar>
#include <cmath>

#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

class EdfExportActionTest : public ControllerTest {
protected:
    QString status() const { return window.statusBar()->currentMessage(); }
};

// Nothing shown: no dialog. A bare name gets ".edf", ".bdf" chooses BDF+; "はい" writes the
// averages; a missing folder and a refused recording are told and leave the old file whole.
TEST_F(EdfExportActionTest, WritesTheShownSeriesAndTellsFailures) {
    const auto exportAs = [&](const std::string& name) {
        dialogs.exportPath = qPath(desktop.file(name));
        controller.exportEdf();
    };
    controller.addFiles({onMedia("a.NVD", 9)});
    exportAs("never");
    EXPECT_FALSE(std::exchange(dialogs.exportPath, {}).isEmpty());
    selectRow(0);
    window.averageBox()->setCurrentIndex(4);
    dialogs.answerYes = true;
    for (const auto& [name, written, type] :
         {std::tuple("avg", "avg.edf", EDFLIB_FILETYPE_EDFPLUS),
          std::tuple("b.bdf", "b.bdf", EDFLIB_FILETYPE_BDFPLUS)}) {
        exportAs(name);
        edf_hdr_struct h{};
        ASSERT_EQ(edfopen_file_readonly(desktop.file(written).c_str(), &h, 0), 0) << written;
        EXPECT_EQ(std::tuple(h.filetype, h.edfsignals), std::tuple(type, 4));
        std::vector<double> oxhb(static_cast<std::size_t>(h.signalparam[1].smp_in_file));
        edfread_physical_samples(h.handle, 1, static_cast<int>(oxhb.size()), oxhb.data());
        edfclose_file(h.handle);
        for (std::size_t i = 0; i < 20; ++i) {
            EXPECT_NEAR(oxhb.at(i), store->averaged[kOxhb][i], 1e-6) << i;
        }
        EXPECT_TRUE(status().contains(QString::fromUtf8(written)));
    }
    EXPECT_EQ(dialogs.proposedExport, qPath(desktop.file("a.edf")));
    writeText(desktop.file("old.edf"), "keep");
    exportAs("missing/out.edf");
    store->startYear = 85;
    exportAs("old.edf");
    EXPECT_EQ(readBytes(desktop.file("old.edf")), "keep");
    ASSERT_EQ(dialogs.warnings.size(), 2);
    EXPECT_TRUE(dialogs.warnings[0].endsWith(u"保存先のフォルダと空き容量を確かめてください。"_s));
    EXPECT_TRUE(dialogs.warnings[1].contains(u"2085"_s)) << dialogs.warnings[1].toStdString();
}

}  // namespace
}  // namespace nuvisca::test
