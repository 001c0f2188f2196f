// lx47-config: the KD-LX47 configuration tool.
#include <QApplication>
#include <QIcon>

#include "app/LX47ConfigToolApp.h"
#include "app/quit_signal.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/lx47-config-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);
  // Matches the installed desktop entry, so that docks and Wayland
  // compositors show the entry's name and icon for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral("lx47-config"));
  lx47::app::QuitOnTerminationRequest();
  lx47::app::LX47ConfigToolApp app;
  return app.Run();
}
