#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "graph/ViewModel.h"

class QWidget;

namespace nuvisca {

class DialogService;
class ViewerSettings;

// Adding and editing a marker of the shown recording through the marker editor: the labels
// used before are offered, and an entry that cannot be read is warned about and offered
// again as typed.
class MarkerActions {
public:
    MarkerActions(ViewModel& model, DialogService& dialogs, ViewerSettings& settings);

    void add(QWidget* parent, std::int32_t slot);
    // Its label, clock time (which moves it) and duration.
    void edit(QWidget* parent, std::size_t index);

private:
    // The marker the editor ends with, from `before` on; none when cancelled or left blank.
    std::optional<Marker> ask(QWidget* parent, const QString& title, const Marker& before);

    ViewModel& model_;
    DialogService& dialogs_;
    ViewerSettings& settings_;
};

}  // namespace nuvisca
