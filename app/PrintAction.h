#pragma once

#include <memory>

#include "graph/ViewModel.h"

class QWidget;

namespace nuvisca {

class DialogService;
struct PrintSettings;

// The print action: page setup and the print dialog on the printer settings every print of
// the process shares, then the shown range on one landscape page; a failure is an alert.
class PrintAction {
public:
    PrintAction(const ViewModel& model, DialogService& dialogs);
    ~PrintAction();

    void run(QWidget* parent);

private:
    const ViewModel& model_;
    DialogService& dialogs_;
    std::unique_ptr<PrintSettings> settings_;
};

}  // namespace nuvisca
