#include <QApplication>
#include <QFont>
#include <QScreen>
#include <QStandardPaths>
#include <memory>

#include "app/DialogService.h"
#include "app/MainWindow.h"
#include "app/SystemVolumeSource.h"
#include "app/ViewerController.h"
#include "graph/GraphView.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("nuvisca Viewer"));

    // The store and the graph view state live as long as the process.
    auto store = nuvisca::makeMeasurementStore();
    auto view = std::make_unique<nuvisca::GraphViewState>();

    nuvisca::QtDialogService dialogs;
    nuvisca::SystemVolumeSource volumes;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSizeF screenSize = screen ? QSizeF(screen->availableGeometry().size()) : QSizeF();
    nuvisca::ViewerController controller(
        *store, *view,
        {dialogs, volumes, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)},
        screenSize);

    auto* graph = new nuvisca::GraphView(*store, *view);
    nuvisca::MainWindow window(graph);
    controller.attachWindow(window);
    window.show();

    // Files named on the command line join the list as if chosen in the open dialog.
    QStringList files = QApplication::arguments();
    files.removeFirst();
    if (!files.isEmpty()) {
        controller.addFiles(files);
    }
    return QApplication::exec();
}
