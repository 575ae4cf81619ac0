#include <sys/mount.h>
#include <sys/stat.h>

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <fstream>
#include <sstream>

#include "ControllerFixture.h"
#include "app/MarkerList.h"
#include "formats/MarkerSidecar.h"
#include "support/SmallTmpfs.h"

namespace nuvisca::test {
namespace {

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The file's identity: an atomic write replaces it by another.
ino_t inodeOf(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

bool remountReadOnly(const std::filesystem::path& at) {
    return ::mount(nullptr, at.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

class SidecarKeeperTest : public ControllerTest {
protected:
    void addAt(std::int32_t slot, const QString& label) {
        dialogs.typeMarker(label);
        controller.addMarker(slot);
    }
    QString tabTitle() const {
        const auto* tabs =
            qobject_cast<QTabWidget*>(window.markerList()->parentWidget()->parentWidget());
        return tabs->tabText(tabs->indexOf(window.markerList()));
    }
    KeptAnnotations keptIn(const std::filesystem::path& sidecar) const {
        return loadSidecar({sidecar, false}, {}, *store).kept;
    }
};

// Each edit of the markers or the baseline writes the sidecar beside the recording; showing a
// recording, with or without one, writes nothing and restores what was kept, with nothing to
// undo.
TEST_F(SidecarKeeperTest, WrittenOnEachUserEditAndNeverOnLoad) {
    const QString a = onMedia("a.NVD", 9, 0, 400);
    const QString b = onMedia("b.NVD", 10, 0, 400);
    controller.addFiles({a, b});
    selectRow(0);
    const std::filesystem::path sidecar = media.file("a.events.tsv");
    EXPECT_FALSE(std::filesystem::exists(sidecar));
    addAt(120, u"麻酔導入"_s);
    EXPECT_EQ(keptIn(sidecar).markers, (Markers{{120, 0, "麻酔導入"}}));
    viewModel.setBaseline(Baseline{64.0});
    addAt(300, u"執刀開始"_s);
    const KeptAnnotations kept = keptIn(sidecar);
    EXPECT_EQ(kept.markers.size(), 2u);
    ASSERT_TRUE(kept.baseline);
    EXPECT_EQ(kept.baseline->value, 64.0);
    EXPECT_EQ(status(), u""_s) << "beside the recording it goes without saying";

    const ino_t written = inodeOf(sidecar);
    selectRow(1);
    EXPECT_TRUE(viewModel.markers().empty());
    EXPECT_EQ(tabTitle(), u"マーカー"_s);
    EXPECT_FALSE(std::filesystem::exists(media.file("b.events.tsv")));
    selectRow(0);
    EXPECT_EQ(viewModel.markers(), kept.markers);
    EXPECT_EQ(tabTitle(), u"マーカー（2）"_s);
    EXPECT_EQ(viewModel.review().baseline->value, 64.0);
    EXPECT_FALSE(window.action(WindowAction::UndoMarkerEdit)->isEnabled());
    viewModel.setSelection({10, 200});
    window.zoomBox()->setCurrentIndex(3);
    EXPECT_EQ(inodeOf(sidecar), written);

    window.markerList()->table()->selectRow(0);
    window.markerList()->deleteButton()->click();
    EXPECT_EQ(keptIn(sidecar).markers, (Markers{{300, 0, "執刀開始"}}));
    window.action(WindowAction::UndoMarkerEdit)->trigger();
    EXPECT_EQ(keptIn(sidecar).markers, kept.markers);
}

// A sidecar that is not one is named in the status line and left as it is while the
// recording shows, also through a change of the baseline, until the user changes a marker; one with
// rows that cannot be read gives the others and says how many were left out.
TEST_F(SidecarKeeperTest, ProblemsAreReportedAndABrokenSidecarLeftUntilAnEdit) {
    const QString a = onMedia("a.NVD", 9, 0, 400);
    const std::filesystem::path sidecar = media.file("a.events.tsv");
    writeText(sidecar, "not a sidecar\n");
    controller.openFiles({a});
    EXPECT_EQ(store->sampleCount, 400);
    EXPECT_EQ(status(), u"マーカーファイル「"_s + qPath(sidecar) +
                            u"」を読めませんでした（マーカーファイルの形式ではありません）。"_s);
    viewModel.setSelection({10, 200});
    controller.openFiles({a});
    viewModel.setBaseline(Baseline{64.0});
    EXPECT_EQ(readText(sidecar), "not a sidecar\n") << "a baseline alone does not overwrite it";
    EXPECT_TRUE(status().endsWith(u"マーカーを変更すると保存します。"_s)) << status().toStdString();
    addAt(40, u"遮断解除"_s);
    EXPECT_EQ(keptIn(sidecar), (KeptAnnotations{{{40, 0, "遮断解除"}}, Baseline{64.0}}));

    writeText(sidecar,
              readText(sidecar) + "x\tn/a\tbad\tn/a\tn/a\n" + "1.0\tn/a\tgood\tn/a\tn/a\n");
    controller.openFiles({a});
    EXPECT_EQ(viewModel.markers(), (Markers{{2, 0, "good"}, {40, 0, "遮断解除"}}));
    EXPECT_EQ(status(), u"マーカーファイル「"_s + qPath(sidecar) +
                            u"」の読めない 1 行（最初は 4 行目）を除いて読み込みました。"_s);
}

// A recording whose folder cannot be written keeps its sidecar in the data folder, and the
// status line says where; a write that fails says so and leaves the previous sidecar.
TEST_F(SidecarKeeperTest, ReadOnlyFolderWritesToTheDataFolderAndFailuresKeepTheOldFile) {
    const std::filesystem::path medium = media.file("medium");
    const SmallTmpfs readOnly(medium, 65536);
    const SmallTmpfs data(dataFolder.path(), 65536);
    if (!readOnly.mounted() || !data.mounted()) {
        GTEST_SKIP() << "mounting needs privileges";
    }
    const QString path = qPath(writeRecording(medium, "ro.NVD", 9, 0, 400));
    ASSERT_TRUE(remountReadOnly(medium));
    controller.openFiles({path});
    addAt(100, u"人工心肺開始"_s);
    const std::filesystem::path kept = sidecarInDataFolder(dataFolder.path(), *store);
    EXPECT_EQ(status(), u"マーカーを「"_s + qPath(kept) + u"」に保存しました。"_s);
    EXPECT_EQ(keptIn(kept).markers, (Markers{{100, 0, "人工心肺開始"}}));
    EXPECT_FALSE(std::filesystem::exists(medium / "ro.events.tsv"));

    const std::string before = readText(kept);
    ASSERT_TRUE(remountReadOnly(dataFolder.path()));
    addAt(200, u"人工心肺終了"_s);
    EXPECT_TRUE(
        status().startsWith(u"マーカーを「"_s + qPath(kept) + u"」に保存できませんでした（"_s))
        << status().toStdString();
    EXPECT_TRUE(status().endsWith(u"）。前のファイルはそのままです。"_s));
    EXPECT_EQ(readText(kept), before);
    EXPECT_EQ(viewModel.markers().size(), 2u) << "the edit itself stands";
}

}  // namespace
}  // namespace nuvisca::test
