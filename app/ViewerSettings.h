#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "store/Channels.h"

class QSettings;

namespace nuvisca {

class MainWindow;

// What the viewer remembers between runs.
class ViewerSettings {
public:
    explicit ViewerSettings(QSettings& settings) : settings_(settings) {}

    QString openFolder() const;
    void setOpenFolder(const QString& folder);
    QString exportFolder() const;
    void setExportFolder(const QString& folder);

    QStringList recentFiles() const;
    // Puts the file first, drops its older mention and keeps the newest few.
    void noteRecentFile(const QString& path);

    // False when nothing was saved yet, leaving the selection as it is.
    bool loadTraces(ChannelFlags& shown) const;
    void saveTraces(const ChannelFlags& shown);

    // The marker labels offered in the editor: a starting list, then the labels used before
    // that it lacks, most recent first.
    QStringList markerLabels() const;
    // Puts the label first among those used, keeping the newest kMarkerLabelsKept.
    void noteMarkerLabel(const QString& label);
    static constexpr qsizetype kMarkerLabelsKept = 30;

    // The statistics' rSO2 threshold in percent; the default until one was saved.
    double rso2Threshold() const;
    void setRso2Threshold(double percent);

    // False when nothing was saved yet.
    bool restoreWindow(MainWindow& window) const;
    void saveWindow(const MainWindow& window);

private:
    QSettings& settings_;
};

}  // namespace nuvisca
