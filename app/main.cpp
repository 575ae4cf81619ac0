#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>
#include <memory>

#include "app/DialogService.h"
#include "app/MainWindow.h"
#include "app/SystemVolumeSource.h"
#include "app/ViewerController.h"
#include "formats/SidecarFolder.h"
#include "graph/GraphView.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("nuvisca"));
    QApplication::setApplicationName(QStringLiteral("nuvisca Viewer"));
    QApplication::setApplicationVersion(QStringLiteral(NUVISCA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.nuvisca.viewer"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/org.nuvisca.viewer.png")));

    // Every text of the program is Japanese, so Qt's own dialogs are too, whatever the locale.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    nuvisca::ViewModel viewModel;
    nuvisca::QtDialogService dialogs;
    nuvisca::SystemVolumeSource volumes;
    QSettings settings;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSizeF screenSize = screen ? QSizeF(screen->availableGeometry().size()) : QSizeF();
    nuvisca::ViewerController controller(
        viewModel,
        {dialogs, volumes, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
         settings, nuvisca::sidecarDataFolder()},
        screenSize);

    nuvisca::MainWindow window(viewModel);
    controller.attachWindow(window);
    window.show();

    // Files named on the command line join the list as if chosen in the open dialog.
    QStringList files = QApplication::arguments();
    files.removeFirst();
    if (!files.isEmpty()) {
        controller.openFiles(files);
    }
    return QApplication::exec();
}
