// The program: the Linux services, the Qt window host, and the application object's start-up.
#include <QApplication>

#include "app/CorvaneApp.h"
#include "main/LinuxPlatform.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrelle"));

    platform_linux::LinuxPlatform platform(platform_linux::ExecutableFolder());
    app::CCorvaneApp corvane(platform.Services());
    // InitInstance runs the main dialog and returns false: the program ends without a loop of its own.
    corvane.InitInstance();
    return 0;
}
