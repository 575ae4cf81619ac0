#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

class ListRowsTest : public ControllerTest {
protected:
    // Four recordings of 10, 20, 30 and 40 samples starting at 9 to 12 o'clock.
    ListRowsTest() {
        QStringList paths;
        for (int k = 0; k < 4; ++k) {
            paths.append(onMedia(numbered("r", k), 9 + k, 0, 10 * (k + 1)));
        }
        controller.addFiles(paths);
    }

    // The shown recording by its name, row and length, averaged over the window of "2".
    void expectShown(const QString& name, int samples) const {
        EXPECT_EQ(currentName(), name);
        EXPECT_EQ(names().value(selectedRow()), name);
        EXPECT_EQ(store->sampleCount, samples);
        const auto& oxhb = store->measured[kOxhb];
        EXPECT_FLOAT_EQ(store->averaged[kOxhb][0], (oxhb[0] + oxhb[1]) / 2.0f);
    }
};

// A failed load keeps the shown recording with its own name and row and tells the failure.
// Removing a row shows its neighbour and keeps the numbers. The averages follow every load.
TEST_F(ListRowsTest, SelectionsRemovalsAndFailedLoads) {
    selectRow(1);
    window.averageBox()->setCurrentIndex(1);
    expectShown(u"r1.NVD"_s, 20);
    std::filesystem::remove(media.file("r2.NVD"));
    selectRow(2);
    expectShown(u"r1.NVD"_s, 20);
    EXPECT_TRUE(status().contains(u"r2.NVD"_s));
    selectRow(3);
    expectShown(u"r3.NVD"_s, 40);
    writeRecording(media.path(), "r2.NVD", 11, 0, 30);
    window.table()->clearSelection();
    controller.removeSelected();  // nothing selected: nothing removed
    EXPECT_EQ(names().size(), 4);
    selectRow(1);
    controller.removeSelected();
    EXPECT_EQ(names(), (QStringList{u"r0.NVD"_s, u"r2.NVD"_s, u"r3.NVD"_s}));
    EXPECT_EQ(column(&ListedFile::number), (QStringList{u"01"_s, u"03"_s, u"04"_s}));
    expectShown(u"r2.NVD"_s, 30);
    // A neighbour that cannot be read empties the graph instead of keeping the removed one.
    std::filesystem::remove(media.file("r3.NVD"));
    controller.removeSelected();
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_TRUE(currentName().isEmpty());
    controller.removeSelected();  // the last row: the one before it is shown
    expectShown(u"r0.NVD"_s, 10);
    controller.removeSelected();  // the only row
    EXPECT_EQ((std::array{controller.tableModel()->rowCount(), store->sampleCount}),
              (std::array{0, 0}));
}

}  // namespace
}  // namespace nuvisca::test
