#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

// Asked only with an average set: "はい" writes the averages, "いいえ" the measured series.
// A failed write is told and leaves nothing.
TEST_F(ControllerTest, ExportAsksOnlyWithAnAverageAndItsAnswerChoosesTheSeries) {
    const auto exportAs = [&](const std::string& name) {  // line 2 of the file written
        dialogs.exportPaths.push_back(qPath(desktop.file(name)));
        controller.onClickedButton3();
        const std::vector<std::string> lines = splitLines(readBytes(desktop.file(name)));
        return lines.size() > 1 ? lines[1] : std::string();
    };
    EXPECT_EQ(exportAs("never.csv"), "");  // nothing loaded: no dialog
    ASSERT_EQ(dialogs.exportPaths.size(), 1u);
    dialogs.exportPaths.clear();
    controller.addFiles({onMedia("a.NVD", 9)});
    selectRow(0);
    EXPECT_EQ(exportAs("plain.csv"), ",,終了時刻,,,09時01分00");
    EXPECT_EQ(dialogs.questionsAsked, 0);
    window.averageBox()->setCurrentIndex(4);
    dialogs.answerYes = true;
    EXPECT_EQ(exportAs("yes.csv"), "移動平均,5,終了時刻,,,09時01分00");
    dialogs.answerYes = false;
    EXPECT_EQ(exportAs("no.csv"), ",,終了時刻,,,09時01分00");
    EXPECT_EQ(dialogs.questionsAsked, 2);
    EXPECT_TRUE(dialogs.warnings.isEmpty());
    EXPECT_EQ(exportAs("missing-folder/out.csv"), "");
    ASSERT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(dialogs.warnings.constFirst().contains(u"書き出せませんでした"_s));
    EXPECT_FALSE(std::filesystem::exists(desktop.file("missing-folder")));
}

}  // namespace
}  // namespace nuvisca::test
