#include "app/AddedFiles.h"

namespace nuvisca {

void SkippedFiles::note(const QString& name) {
    if (count++ == 0) {
        first = name;
    }
}

QString SkippedFiles::text() const {
    return count == 1 ? QStringLiteral("「%1」").arg(first)
                      : QStringLiteral("「%1」など %2 件").arg(first).arg(count);
}

QString AddedFiles::skippedText() const {
    QString message;
    if (notRecordings.count > 0) {
        message.append(QStringLiteral("%1は記録ファイルではないため読み飛ばしました。")
                           .arg(notRecordings.text()));
    }
    if (tooLarge.count > 0) {
        message.append(
            QStringLiteral("%1はCSV書き出しファイルとしては大きすぎます。").arg(tooLarge.text()));
    }
    return message;
}

QString AddedFiles::text() const {
    return QStringLiteral("%1 件のファイルを追加しました。").arg(added) + skippedText();
}

}  // namespace nuvisca
