#pragma once

#include <QString>
#include <cstdint>

#include "graph/SlotClock.h"

namespace nuvisca {

// The clock texts the dialogs that take a time share.
inline QString clockText(std::uint64_t seconds) {
    return QString::fromStdString(formatClock(seconds));
}

// "23:59:00〜24:29:59": the recording's first and last time.
inline QString recordingSpanText(const Recording& recording) {
    const ClockSpan span = recordingClockSpan(recording);
    return clockText(span.first) + u'〜' + clockText(span.last);
}

// Full-width digits and colon, as a Japanese input method types them, read as ASCII.
inline QString typedAscii(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).trimmed();
}

inline QString unreadableClockText(const QString& entry, const QString& spanText) {
    const QString how =
        QStringLiteral("HH:MM または HH:MM:SS で、記録の範囲（%1）の時刻を入力してください。")
            .arg(spanText);
    return entry.isEmpty() ? how
                           : QStringLiteral("「%1」は時刻として読めません。").arg(entry) + how;
}

inline QString clockOutsideText(std::uint64_t seconds, const QString& spanText) {
    return QStringLiteral("%1 は記録の範囲（%2）の外です。").arg(clockText(seconds), spanText);
}

}  // namespace nuvisca
