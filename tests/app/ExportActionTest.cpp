#include <QFile>

#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

QByteArray secondLine(const std::filesystem::path& path) {
    QFile file(qPath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    file.readLine();
    return file.readLine();
}

class ExportActionTest : public ControllerTest {
protected:
    void loadOne() {
        controller.addFiles({qPath(writeRecording(media.path(), "a.NVD", 9, 0))});
        selectRow(0);
    }
};

TEST_F(ExportActionTest, DoesNothingWithoutARecording) {
    dialogs.exportPaths.push_back(qPath(desktop.file("out.csv")));
    controller.onClickedButton3();
    EXPECT_EQ(dialogs.exportPaths.size(), 1u);  // the dialog was never shown
}

TEST_F(ExportActionTest, WithoutAverageAsksNothingAndWritesTheMeasuredSeries) {
    loadOne();
    dialogs.exportPaths.push_back(qPath(desktop.file("out.csv")));
    controller.onClickedButton3();
    EXPECT_EQ(dialogs.questionsAsked, 0);
    EXPECT_TRUE(secondLine(desktop.file("out.csv")).startsWith(",,終了時刻,,,"));
}

TEST_F(ExportActionTest, TheAnswerChoosesTheSeries) {
    loadOne();
    window.averageBox()->setCurrentIndex(4);
    dialogs.answerYes = true;
    dialogs.exportPaths.push_back(qPath(desktop.file("yes.csv")));
    controller.onClickedButton3();
    dialogs.answerYes = false;
    dialogs.exportPaths.push_back(qPath(desktop.file("no.csv")));
    controller.onClickedButton3();
    EXPECT_EQ(dialogs.questionsAsked, 2);
    EXPECT_TRUE(secondLine(desktop.file("yes.csv")).startsWith("移動平均,5,終了時刻,,,"));
    EXPECT_TRUE(secondLine(desktop.file("no.csv")).startsWith(",,終了時刻,,,"));
}

TEST_F(ExportActionTest, AFailedWriteIsToldAndLeavesNothing) {
    loadOne();
    const auto target = desktop.path() / "missing-folder" / "out.csv";
    dialogs.exportPaths.push_back(qPath(target));
    controller.onClickedButton3();
    ASSERT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(dialogs.warnings.constFirst().contains(QStringLiteral("書き出せませんでした")));
    EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
}  // namespace nuvisca::test
