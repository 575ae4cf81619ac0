#include "app/RecordingFiles.h"

#include <QFile>
#include <QFileInfo>

#include "formats/CsvReader.h"
#include "formats/NvdReader.h"

namespace nuvisca {

std::filesystem::path toFileSystemPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

bool hasDeviceRecordingExtension(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    return suffix == u"nvd" || suffix == u"NVD";
}

bool hasCsvExtension(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    return suffix == u"csv" || suffix == u"CSV";
}

std::int64_t dateKeyByExtension(const QString& path, CsvRefusal* refusal) {
    if (hasDeviceRecordingExtension(path)) {
        return getDateFromNVD(toFileSystemPath(path));
    }
    if (hasCsvExtension(path)) {
        return getDateFromCSV(toFileSystemPath(path), refusal);
    }
    return 0;
}

bool loadDeviceRecording(const QString& path, MeasurementStore& store, GraphViewState& view) {
    if (!readNVDFile(toFileSystemPath(path), store)) {
        return false;
    }
    resetVisibleRange(view, store.spanSamples);
    return true;
}

bool loadRecordingByExtension(const QString& path, MeasurementStore& store, GraphViewState& view,
                              CsvRefusal* refusal) {
    if (hasDeviceRecordingExtension(path)) {
        return loadDeviceRecording(path, store, view);
    }
    if (!readCSVFile(toFileSystemPath(path), store, refusal)) {
        return false;
    }
    resetVisibleRange(view, store.spanSamples);
    return true;
}

}  // namespace nuvisca
