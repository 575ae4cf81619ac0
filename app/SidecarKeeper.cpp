#include "app/SidecarKeeper.h"

#include <QDir>
#include <utility>

#include "app/RecordingFiles.h"

namespace nuvisca {
namespace {

QString shownPath(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(QString::fromStdString(path.string()));
}

QString reasonOf(const std::error_code& error) {
    return QString::fromStdString(error.message());
}

QString readProblem(const SidecarRead& read, const QString& file) {
    const auto unreadable = [&](const QString& why) {
        return QStringLiteral("マーカーファイル「%1」を読めませんでした（%2）。").arg(file, why);
    };
    switch (read.problem) {
        case SidecarProblem::kNone:
            return {};
        case SidecarProblem::kNotASidecar:
            return unreadable(QStringLiteral("マーカーファイルの形式ではありません"));
        case SidecarProblem::kTooLarge:
            return unreadable(QStringLiteral("ファイルが大きすぎます"));
        case SidecarProblem::kUnreadable:
            return unreadable(reasonOf(read.error));
        case SidecarProblem::kBadRows:
            return QStringLiteral(
                       "マーカーファイル「%1」の読めない %2 行（最初は %3 行目）を除いて"
                       "読み込みました。")
                .arg(file)
                .arg(read.skippedRows)
                .arg(read.firstBadLine);
        case SidecarProblem::kTooManyRows:
            return QStringLiteral(
                       "マーカーファイル「%1」のマーカーが %2 個を超えるため、%3 行を"
                       "読み込んでいません。")
                .arg(file)
                .arg(kMarkerLimit)
                .arg(read.skippedRows);
    }
    return {};
}

}  // namespace

SidecarKeeper::SidecarKeeper(ViewModel& model, std::filesystem::path dataFolder)
    : model_(model), dataFolder_(std::move(dataFolder)) {}

QString SidecarKeeper::recordingShown(const QString& path) {
    recordingPath_ = path.isEmpty() ? std::filesystem::path() : toFileSystemPath(path);
    place_ = {};
    heldBack_ = false;
    if (recordingPath_.empty() || model_.recording().sampleCount <= 0) {
        recordingPath_.clear();
        return {};
    }
    const Recording& recording = model_.recording();
    place_ = sidecarPlace(recordingPath_, dataFolder_, recording);
    SidecarRead read = loadSidecar(place_, recordingPath_, recording);
    heldBack_ = read.problem != SidecarProblem::kNone;
    if (!read.kept.markers.empty() || read.kept.baseline) {
        model_.restoreKept(std::move(read.kept.markers), read.kept.baseline);
    }
    return readProblem(read, shownPath(place_.path));
}

QString SidecarKeeper::userEdited(unsigned changes) {
    if (recordingPath_.empty()) {
        return {};
    }
    if (heldBack_ && (changes & kMarkersChanged) == 0) {
        return QStringLiteral(
                   "マーカーファイル「%1」を読み切れなかったため、ベースラインは保存していません。"
                   "マーカーを変更すると保存します。")
            .arg(shownPath(place_.path));
    }
    heldBack_ = false;
    const KeptAnnotations kept{model_.markers(), model_.review().baseline};
    if (const std::error_code error = saveSidecar(place_.path, model_.recording(), kept)) {
        return QStringLiteral(
                   "マーカーを「%1」に保存できませんでした（%2）。前のファイルはそのままです。")
            .arg(shownPath(place_.path), reasonOf(error));
    }
    return place_.inDataFolder
               ? QStringLiteral("マーカーを「%1」に保存しました。").arg(shownPath(place_.path))
               : QString();
}

}  // namespace nuvisca
