#include "app/MarkerActions.h"

#include <variant>

#include "app/ClockTexts.h"
#include "app/DialogService.h"
#include "app/ViewerSettings.h"
#include "graph/MarkerEntry.h"

namespace nuvisca {
namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

MarkerActions::MarkerActions(ViewModel& model, DialogService& dialogs, ViewerSettings& settings)
    : model_(model), dialogs_(dialogs), settings_(settings) {}

void MarkerActions::add(QWidget* parent, std::int32_t slot) {
    if (slot < 0 || slot >= model_.recording().sampleCount) {
        return;
    }
    if (const std::optional<Marker> marker =
            ask(parent, QStringLiteral("マーカーを追加"), Marker{slot, 0, {}})) {
        model_.addMarker(*marker);
    }
}

void MarkerActions::edit(QWidget* parent, std::size_t index) {
    if (index >= model_.markers().size()) {
        return;
    }
    if (const std::optional<Marker> marker =
            ask(parent, QStringLiteral("マーカーを編集"), model_.markers()[index])) {
        model_.replaceMarker(index, *marker);
    }
}

std::optional<Marker> MarkerActions::ask(QWidget* parent, const QString& title,
                                         const Marker& before) {
    const Recording& recording = model_.recording();
    const MarkerEntry start = entryOf(recording, before);
    MarkerFields fields{qText(start.label), qText(start.clock), qText(start.duration)};
    for (;;) {
        const std::optional<MarkerFields> answer =
            dialogs_.editMarker(parent, title, settings_.markerLabels(), fields);
        if (!answer) {
            return std::nullopt;
        }
        fields = *answer;
        const QString clock = typedAscii(fields.clock);
        const QString duration = typedAscii(fields.duration);
        const auto made = markerFromEntry(
            recording, {fields.label.toStdString(), clock.toStdString(), duration.toStdString()},
            before);
        if (const Marker* marker = std::get_if<Marker>(&made)) {
            settings_.noteMarkerLabel(qText(marker->label));
            return *marker;
        }
        const QString spanText = recordingSpanText(recording);
        switch (std::get<MarkerEntryError>(made)) {
            case MarkerEntryError::kNoLabel:
                return std::nullopt;
            case MarkerEntryError::kUnreadableClock:
                dialogs_.showWarning(parent, unreadableClockText(clock, spanText));
                break;
            case MarkerEntryError::kClockOutside:
                dialogs_.showWarning(parent,
                                     clockOutsideText(*parseClock(clock.toStdString()), spanText));
                break;
            case MarkerEntryError::kUnreadableDuration:
                dialogs_.showWarning(parent, QStringLiteral("「%1」は持続時間として読めません。秒"
                                                            "（例: 90）または M:SS（例: 1:30）で"
                                                            "入力してください。")
                                                 .arg(duration));
                break;
            case MarkerEntryError::kPastTheEnd:
                dialogs_.showWarning(parent,
                                     QStringLiteral("持続時間が記録の終わり（%1）を越えています。")
                                         .arg(clockText(recordingClockSpan(recording).last)));
                break;
        }
    }
}

}  // namespace nuvisca
