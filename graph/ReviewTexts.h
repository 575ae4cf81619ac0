#pragma once

#include <array>
#include <string>

#include "store/Baseline.h"
#include "store/Desaturation.h"
#include "store/Recording.h"

namespace nuvisca {

// An event as the event list shows it: 開始, 持続時間, 最低値, 面積.
std::array<std::string, 4> eventRowTexts(const Recording& store, const DesaturationEvent& event);

// The events' sums under the list: "3 件  45.0 s  1.23 %·min  0.45 %·min/時".
std::string eventSumsText(const Desaturations& found);

// How the baseline was set, as the statistics panel says it: "最初の 10 分", "ベースラインに設定"
// or "入力".
std::string baselineMethodText(const Baseline& baseline);

}  // namespace nuvisca
