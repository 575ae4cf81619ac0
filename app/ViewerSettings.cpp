#include "app/ViewerSettings.h"

#include <QSettings>
#include <QSplitter>
#include <QVariantList>

#include "app/MainWindow.h"
#include "store/RangeStatistics.h"

namespace nuvisca {

namespace {

constexpr qsizetype kRecentFiles = 8;
const char16_t* const kStartingMarkerLabels[] = {u"麻酔導入", u"執刀開始",     u"大動脈遮断",
                                                 u"遮断解除", u"人工心肺開始", u"人工心肺終了",
                                                 u"手術終了"};

}  // namespace

QString ViewerSettings::openFolder() const {
    return settings_.value(QStringLiteral("folders/open")).toString();
}

void ViewerSettings::setOpenFolder(const QString& folder) {
    settings_.setValue(QStringLiteral("folders/open"), folder);
}

QString ViewerSettings::exportFolder() const {
    return settings_.value(QStringLiteral("folders/export")).toString();
}

void ViewerSettings::setExportFolder(const QString& folder) {
    settings_.setValue(QStringLiteral("folders/export"), folder);
}

QStringList ViewerSettings::recentFiles() const {
    return settings_.value(QStringLiteral("recentFiles")).toStringList();
}

void ViewerSettings::noteRecentFile(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    settings_.setValue(QStringLiteral("recentFiles"),
                       files.first(std::min(files.size(), kRecentFiles)));
}

QStringList ViewerSettings::markerLabels() const {
    QStringList labels;
    for (const char16_t* label : kStartingMarkerLabels) {
        labels.append(QString::fromUtf16(label));
    }
    for (const QString& used : settings_.value(QStringLiteral("markers/labels")).toStringList()) {
        if (!labels.contains(used)) {
            labels.append(used);
        }
    }
    return labels;
}

void ViewerSettings::noteMarkerLabel(const QString& label) {
    QStringList used = settings_.value(QStringLiteral("markers/labels")).toStringList();
    used.removeAll(label);
    used.prepend(label);
    settings_.setValue(QStringLiteral("markers/labels"),
                       used.first(std::min(used.size(), kMarkerLabelsKept)));
}

double ViewerSettings::rso2Threshold() const {
    bool ok = false;
    const double percent =
        settings_.value(QStringLiteral("statistics/rso2Threshold")).toDouble(&ok);
    return ok && percent >= 0.0 && percent <= 100.0 ? percent : kDefaultRso2Threshold;
}

void ViewerSettings::setRso2Threshold(double percent) {
    settings_.setValue(QStringLiteral("statistics/rso2Threshold"), percent);
}

bool ViewerSettings::loadTraces(ChannelFlags& shown) const {
    const QVariantList saved = settings_.value(QStringLiteral("view/traces")).toList();
    if (saved.size() != static_cast<qsizetype>(shown.size())) {
        return false;
    }
    for (std::size_t k = 0; k < shown.size(); ++k) {
        shown[k] = saved.at(static_cast<qsizetype>(k)).toBool();
    }
    return true;
}

void ViewerSettings::saveTraces(const ChannelFlags& shown) {
    QVariantList saved;
    for (bool flag : shown) {
        saved.append(flag);
    }
    settings_.setValue(QStringLiteral("view/traces"), saved);
}

bool ViewerSettings::restoreWindow(MainWindow& window) const {
    window.splitter()->restoreState(
        settings_.value(QStringLiteral("window/splitter")).toByteArray());
    return window.restoreGeometry(settings_.value(QStringLiteral("window/geometry")).toByteArray());
}

void ViewerSettings::saveWindow(const MainWindow& window) {
    settings_.setValue(QStringLiteral("window/geometry"), window.saveGeometry());
    settings_.setValue(QStringLiteral("window/splitter"), window.splitter()->saveState());
}

}  // namespace nuvisca
