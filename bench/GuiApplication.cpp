#include "bench/GuiApplication.h"

#include <QGuiApplication>

namespace nuvisca::bench {

void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "nuvisca_bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static QGuiApplication app(argc, argv);
    }
}

}  // namespace nuvisca::bench
