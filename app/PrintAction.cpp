#include "app/PrintAction.h"

#include "app/DialogService.h"
#include "app/RecordingFiles.h"
#include "print/PrintOperation.h"
#include "print/PrintPage.h"
#include "print/PrintSettings.h"

namespace nuvisca {

PrintAction::PrintAction(const ViewModel& model, DialogService& dialogs)
    : model_(model), dialogs_(dialogs), settings_(std::make_unique<PrintSettings>()) {}

PrintAction::~PrintAction() = default;

void PrintAction::run(QWidget* parent) {
    PrintPage page(model_);
    PrintSettings& settings = *settings_;
    applyPrintViewSettings(settings);
    if (!dialogs_.openPageSetup(settings.printer, parent) ||
        !dialogs_.confirmPrint(settings.printer, parent)) {
        return;
    }
    if (!unlessExhausted(false, [&] { return printPage(settings, page); })) {
        dialogs_.showWarning(parent, QStringLiteral("印刷できませんでした。"
                                                    "プリンタの設定を確かめてください。"));
    }
}

}  // namespace nuvisca
